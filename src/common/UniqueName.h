#pragma once
// The one way an OpenGL or OpenAL object is owned: the name the library gave
// it, handed to Release when its owner goes. Empty (name 0, the state a move
// leaves behind) until a name is set; move-only. The wrappers (GlBuffer,
// AlSource, ...) hold one and create their object only when asked to.
#include <utility>

template <typename Name, void (*Release)(Name)>
class UniqueName {
 public:
  UniqueName() = default;
  ~UniqueName() { reset(); }
  UniqueName(const UniqueName&) = delete;
  UniqueName& operator=(const UniqueName&) = delete;
  UniqueName(UniqueName&& other) noexcept : id(std::exchange(other.id, Name{0})) {}
  UniqueName& operator=(UniqueName&& other) noexcept {
    if (this != &other) {
      reset();
      id = std::exchange(other.id, Name{0});
    }
    return *this;
  }

  Name get() const { return id; }
  // Releases the object held, if any, and holds name (0: none) instead.
  void reset(Name name = Name{0}) {
    if (id != Name{0}) Release(id);
    id = name;
  }

 private:
  Name id{0};
};
