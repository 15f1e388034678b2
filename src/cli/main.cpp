// Placeholder entry point of the command-line runner; replaced by the full runner.
#include <iostream>

int main() {
  std::cout << "kelvast-cli " << KELVAST_VERSION << "\n";
  return 0;
}
