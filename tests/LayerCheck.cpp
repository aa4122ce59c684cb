// Entry of the layer checks: each links one core folder whole against only the folders below
// it, so the build fails when a folder calls into one above it. Never run.

int main() { return 0; }
