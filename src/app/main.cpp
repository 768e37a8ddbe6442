#include "app/SystemManager.h"

int main() {
  SystemManager system;
  system.run();
  // Leaving the scope destroys the system manager, which ends the process with status 0.
}
