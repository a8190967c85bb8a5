// Placeholder until the module entry is written.
