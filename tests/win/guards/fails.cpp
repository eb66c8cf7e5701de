// Must exit non-zero under Wine: guards the harness against swallowed failures.
int main() { return 1; }
