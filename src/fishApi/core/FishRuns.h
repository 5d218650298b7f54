// Runs: the engine makes the arc points of a quadrant, and lays them flat, a
// run of elements at a time instead of one by one.
//
// No extended real survives a call into the maths library in the x87
// registers, so a loop that calls the library once per element stores and
// reloads everything it carries (the corner, the box, the lengths, the
// record's values) at every element. Split into runs, the library's calls come
// in loops of their own that carry (almost) nothing, and the rest is done for
// the whole run in between. Every step still runs in element order, so the
// first failure, and what was handed on before it, are as element by element.
#pragma once

#include <cstddef>

namespace fish {

constexpr std::size_t kRunLength = 32;

// The elements of one run, in a buffer kept by each thread: a local array of
// extended reals would be zero-filled at every call, value by value through
// the x87 unit, which costs a small quadrant more than its points do. What a
// run's elements share is written once into the slots (fill), as bytes.
template <typename T>
class TRunBuffer {
 public:
  TRunBuffer() : Items(storage()) {}
  TRunBuffer(const TRunBuffer&) = delete;
  TRunBuffer& operator=(const TRunBuffer&) = delete;

  T& operator[](std::size_t k) { return Items[k]; }
  const T* begin() const { return Items; }
  const T* end() const { return Items + Count; }
  std::size_t size() const { return Count; }
  // The elements 0 .. count - 1 are complete.
  void setSize(std::size_t count) { Count = count; }

 private:
  static T* storage() {
    static thread_local T buffer[kRunLength];
    return buffer;
  }
  T* Items;
  std::size_t Count = 0;
};

}  // namespace fish
