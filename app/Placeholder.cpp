// Removed once the main window is written.
