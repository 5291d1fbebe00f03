// Keeps the library non-empty until the runtime lands.
