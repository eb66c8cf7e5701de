// Must count as a failure under Wine: an access violation, not a clean exit.
int main() {
  volatile int* p = nullptr;
  *p = 42;
  return 0;
}
