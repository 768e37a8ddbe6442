#include "app/Clock.h"

#include <GLFW/glfw3.h>

namespace gameclock {
namespace {
Source currentSource = nullptr;
}

double now() { return currentSource ? currentSource() : glfwGetTime(); }

void setSource(Source source) { currentSource = source; }

}  // namespace gameclock
