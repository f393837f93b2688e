#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace nitko {

// The order a list ends in when items arrive one by one and each is inserted
// before the first item already placed that is not less than it (appended when
// there is none). Every insertion keeps the list sorted and puts a new item
// before the equal ones already there, so the result is the sorted order with
// equal items in reverse arrival order: a stable sort of the reversed arrival,
// O(n log n) instead of the walk's O(n^2). Items are named by their arrival
// index 0..count-1; less(a, b) compares items a and b and must be a strict weak
// order. Returns arrival indices in final order.
template <typename Less>
std::vector<size_t> InsertionOrder(size_t count, Less less) {
  std::vector<size_t> order(count);
  for (size_t i = 0; i < count; ++i) order[i] = count - 1 - i;
  std::stable_sort(order.begin(), order.end(), less);
  return order;
}

}  // namespace nitko
