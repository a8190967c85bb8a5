// Placeholder until the server is written.
