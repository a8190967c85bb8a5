// Placeholder until the date routines are written.
