// Placeholder so that a library whose sources are still to come can be built.
