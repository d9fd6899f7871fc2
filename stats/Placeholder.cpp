// Removed once the stats page is written.
