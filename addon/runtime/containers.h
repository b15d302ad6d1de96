// The framework's owning containers: List, Vector (sequences) and Map (ordered by key).
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace lunvik {

// An owning sequence of heap objects in insertion order; deleting it deletes the elements.
template <typename T>
class Vector {
 public:
  Vector() = default;
  Vector(const Vector&) = delete;
  Vector& operator=(const Vector&) = delete;
  Vector(Vector&&) noexcept = default;
  Vector& operator=(Vector&&) noexcept = default;
  virtual ~Vector() = default;

  // Takes ownership of item (null is ignored) and appends it.
  void push_back(T* item) { if (item) items_.emplace_back(item); }
  void push_back(std::unique_ptr<T> item) { if (item) items_.push_back(std::move(item)); }
  // Takes ownership of item and inserts it before position pos (clamped to the end).
  void insert(std::size_t pos, T* item) {
    if (!item) return;
    items_.insert(items_.begin() + std::ptrdiff_t(std::min(pos, items_.size())), std::unique_ptr<T>(item));
  }
  // The item at i; i out of range throws std::out_of_range.
  T& at(std::size_t i) { return *items_.at(i); }
  const T& at(std::size_t i) const { return *items_.at(i); }
  T* get(std::size_t i) const { return i < items_.size() ? items_[i].get() : nullptr; }
  T& operator[](std::size_t i) { return *items_[i]; }
  const T& operator[](std::size_t i) const { return *items_[i]; }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  // Deletes every item.
  void clear() { items_.clear(); }
  // Deletes the item at i.
  void erase(std::size_t i) { if (i < items_.size()) items_.erase(items_.begin() + std::ptrdiff_t(i)); }
  // Gives up ownership of the item at i and removes it; null when out of range.
  T* release(std::size_t i) {
    if (i >= items_.size()) return nullptr;
    T* item = items_[i].release();
    items_.erase(items_.begin() + std::ptrdiff_t(i));
    return item;
  }
  // The index of item (by address), or size() when absent.
  std::size_t indexOf(const T* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return i;
    return items_.size();
  }
  void reserve(std::size_t n) { items_.reserve(n); }

  using Storage = std::vector<std::unique_ptr<T>>;
  typename Storage::iterator begin() { return items_.begin(); }
  typename Storage::iterator end() { return items_.end(); }
  typename Storage::const_iterator begin() const { return items_.begin(); }
  typename Storage::const_iterator end() const { return items_.end(); }

 protected:
  Storage items_;
};

// An owning list of heap objects in insertion order.
template <typename T>
class List : public Vector<T> {};

// An owning map from key to heap object, in ascending key order.
template <typename K, typename T>
class Map {
 public:
  Map() = default;
  Map(const Map&) = delete;
  Map& operator=(const Map&) = delete;
  Map(Map&&) noexcept = default;
  Map& operator=(Map&&) noexcept = default;
  virtual ~Map() = default;

  // Takes ownership of item and stores it under key, deleting what was there.
  void put(const K& key, T* item) {
    if (item) items_[key].reset(item);
    else items_.erase(key);
  }
  void put(const K& key, std::unique_ptr<T> item) { put(key, item.release()); }
  // The item under key, or null.
  T* get(const K& key) const {
    auto it = items_.find(key);
    return it == items_.end() ? nullptr : it->second.get();
  }
  bool contains(const K& key) const { return items_.count(key) != 0; }
  // Deletes the item under key.
  void erase(const K& key) { items_.erase(key); }
  // Gives up ownership of the item under key and removes it; null when absent.
  T* release(const K& key) {
    auto it = items_.find(key);
    if (it == items_.end()) return nullptr;
    T* item = it->second.release();
    items_.erase(it);
    return item;
  }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void clear() { items_.clear(); }

  using Storage = std::map<K, std::unique_ptr<T>>;
  typename Storage::iterator begin() { return items_.begin(); }
  typename Storage::iterator end() { return items_.end(); }
  typename Storage::const_iterator begin() const { return items_.begin(); }
  typename Storage::const_iterator end() const { return items_.end(); }

 protected:
  Storage items_;
};

}  // namespace lunvik
