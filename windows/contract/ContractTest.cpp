#include <cstdio>
int main() {
  std::printf("0 passed, 0 failed\n");
  return 0;
}
