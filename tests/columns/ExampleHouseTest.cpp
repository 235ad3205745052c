// Filled in with the example houses.
