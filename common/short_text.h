// A text of at most 255 bytes kept inline: the program's one text type.
// Every way of building or growing one cuts at 255 without notice, so no
// caller has to remember the limit, and no heap is touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class ShortText {
 public:
  static constexpr std::size_t kMax = 255;

  ShortText() { data_[0] = '\0'; }
  ShortText(std::string_view s) { Assign(s); }
  ShortText(const char* s) { Assign(std::string_view(s)); }
  ShortText(const std::string& s) { Assign(std::string_view(s)); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const char* c_str() const { return data_; }
  std::string_view view() const { return {data_, size_}; }
  operator std::string_view() const { return view(); }
  std::string str() const { return std::string(view()); }

  // 0-based access.
  char operator[](std::size_t i) const { return data_[i]; }
  char back() const { return data_[size_ - 1]; }

  // The first n bytes, or the whole text when it is shorter.
  ShortText Left(std::size_t n) const { return ShortText(view().substr(0, n)); }
  // From 0-based position pos to the end (empty when pos is past the end).
  ShortText From(std::size_t pos) const {
    return pos >= size_ ? ShortText() : ShortText(view().substr(pos));
  }

  ShortText& operator+=(std::string_view s) {
    std::size_t n = s.size() < kMax - size_ ? s.size() : kMax - size_;
    if (n > 0) std::memcpy(data_ + size_, s.data(), n);
    size_ = static_cast<std::uint8_t>(size_ + n);
    data_[size_] = '\0';
    return *this;
  }
  ShortText& operator+=(const ShortText& s) { return *this += s.view(); }
  ShortText& operator+=(const char* s) { return *this += std::string_view(s); }
  ShortText& operator+=(char c) {
    if (size_ < kMax) {
      data_[size_++] = c;
      data_[size_] = '\0';
    }
    return *this;
  }

  void PopBack() {
    if (size_ > 0) data_[--size_] = '\0';
  }
  void Clear() {
    size_ = 0;
    data_[0] = '\0';
  }

  friend ShortText operator+(ShortText a, std::string_view b) { return a += b; }
  friend ShortText operator+(ShortText a, const ShortText& b) { return a += b.view(); }
  friend ShortText operator+(ShortText a, const char* b) { return a += b; }
  friend ShortText operator+(ShortText a, char b) { return a += b; }
  friend bool operator==(const ShortText& a, const ShortText& b) { return a.view() == b.view(); }
  friend bool operator==(const ShortText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const ShortText& a, const char* b) { return a.view() == b; }

 private:
  void Assign(std::string_view s) {
    size_ = static_cast<std::uint8_t>(s.size() < kMax ? s.size() : kMax);
    if (size_ > 0) std::memcpy(data_, s.data(), size_);
    data_[size_] = '\0';
  }

  char data_[kMax + 1];
  std::uint8_t size_ = 0;
};
