// Removed once the spawn windows are written.
