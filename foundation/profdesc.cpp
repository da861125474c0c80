// Placeholder; the profile descriptor lands with the profile store.
