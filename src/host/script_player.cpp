// Placeholder until the script player is written.
