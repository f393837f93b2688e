#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace nitko {

// A contiguous array with free room at both ends, so that adding at the
// front costs as little as adding at the back (amortised constant), and an
// insertion or removal inside moves only the shorter side. Slots outside the
// live range hold T{}, which for the chart's columns (numbers, colours,
// strings) owns nothing. The interface follows std::vector where it overlaps.
template <typename T>
class TTwoEndedArray {
 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;

  size_t size() const { return end_ - begin_; }
  bool empty() const { return end_ == begin_; }
  // Slots held, free room included; 0 after release().
  size_t capacity() const { return store_.size(); }

  T& operator[](size_t i) { return store_[begin_ + i]; }
  const T& operator[](size_t i) const { return store_[begin_ + i]; }
  T* data() { return store_.data() + begin_; }
  const T* data() const { return store_.data() + begin_; }
  T* begin() { return data(); }
  T* end() { return data() + size(); }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size(); }
  T& front() { return store_[begin_]; }
  T& back() { return store_[end_ - 1]; }
  const T& front() const { return store_[begin_]; }
  const T& back() const { return store_[end_ - 1]; }

  void push_back(T value) { insert_at(size(), std::move(value)); }
  void push_front(T value) { insert_at(0, std::move(value)); }

  void insert_at(size_t index, T value) {
    const size_t n = size();
    const bool toFront = index < n - index;
    if (toFront ? begin_ == 0 : end_ == store_.size()) Regrow(toFront);
    if (toFront) {
      // Shift the elements before index one slot to the left.
      std::move(store_.begin() + begin_, store_.begin() + begin_ + index,
                store_.begin() + begin_ - 1);
      --begin_;
    } else {
      std::move_backward(store_.begin() + begin_ + index, store_.begin() + end_,
                         store_.begin() + end_ + 1);
      ++end_;
    }
    store_[begin_ + index] = std::move(value);
  }
  T* insert(const T* pos, T value) {
    const size_t index = static_cast<size_t>(pos - data());
    insert_at(index, std::move(value));
    return data() + index;
  }

  void erase_at(size_t index) {
    const size_t n = size();
    if (index < n - 1 - index) {
      std::move_backward(store_.begin() + begin_, store_.begin() + begin_ + index,
                         store_.begin() + begin_ + index + 1);
      store_[begin_++] = T{};
    } else {
      std::move(store_.begin() + begin_ + index + 1, store_.begin() + end_,
                store_.begin() + begin_ + index);
      store_[--end_] = T{};
    }
  }
  T* erase(const T* pos) {
    const size_t index = static_cast<size_t>(pos - data());
    erase_at(index);
    return data() + index;
  }

  // Grows or shrinks at the back.
  void resize(size_t n, const T& fill = T{}) {
    while (size() > n) store_[--end_] = T{};
    while (size() < n) push_back(fill);
  }

  // Empties and gives the storage back.
  void release() {
    std::vector<T>().swap(store_);
    begin_ = end_ = 0;
  }
  void swap(TTwoEndedArray& other) noexcept {
    store_.swap(other.store_);
    std::swap(begin_, other.begin_);
    std::swap(end_, other.end_);
  }

 private:
  // A new store that gives the end that ran out room for as many values as
  // there are, and keeps the other end's room (up to as much): growth stays
  // amortised constant at either end, and filling from one end only costs
  // what a vector's doubling does.
  void Regrow(bool atFront) {
    const size_t n = size();
    const size_t spare = std::max<size_t>(8, n);
    const size_t keep = std::min(atFront ? store_.size() - end_ : begin_, spare);
    std::vector<T> grown(n + spare + keep);
    const size_t first = atFront ? spare : keep;
    std::move(store_.begin() + begin_, store_.begin() + end_, grown.begin() + first);
    store_.swap(grown);
    begin_ = first;
    end_ = first + n;
  }

  std::vector<T> store_;
  size_t begin_ = 0;
  size_t end_ = 0;
};

}  // namespace nitko
