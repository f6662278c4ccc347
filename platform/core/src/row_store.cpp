#include "platform/row_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {

std::string_view RowStore::At(int index) const {
  const Row& row = rows_.at(static_cast<std::size_t>(index));
  return {Address(row.position), row.size};
}

bool RowStore::Store(std::string_view text, std::uint32_t& position) {
  const std::size_t size = text.size();
  const std::size_t slot = end_ >> kSlotBits;
  const std::size_t offset = end_ & kOffsetMask;
  if (slot < slots_.size() && offset + size <= kSlotSize) {
    position = static_cast<std::uint32_t>(end_);
  } else if (size <= kSlotSize && slot + 1 < slots_.size()) {
    // The next slot, kept from before the last Clear().
    position = static_cast<std::uint32_t>((slot + 1) << kSlotBits);
  } else {
    // A new block from the next slot on; the rest of the current slot stays unused.
    const std::size_t first = slots_.size();
    const std::size_t count = size == 0 ? 1 : (size + kSlotSize - 1) / kSlotSize;
    constexpr std::size_t kMaxSlots = std::size_t{1} << (32 - kSlotBits);
    if (count > kMaxSlots - first) return false;
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(count * kSlotSize));
    char* base = blocks_.back().get();
    for (std::size_t i = 0; i < count; ++i) slots_.push_back(base + i * kSlotSize);
    position = static_cast<std::uint32_t>(first << kSlotBits);
  }
  if (size != 0) std::memcpy(Address(position), text.data(), size);
  end_ = std::uint64_t{position} + size;
  return true;
}

bool RowStore::Insert(int index, std::string_view text) {
  if (text.size() > UINT32_MAX) return false;
  std::uint32_t position = 0;
  if (!Store(text, position)) return false;
  if (rows_.size() == rows_.capacity()) {
    // A short list stays small; past that the index jumps to room for many rows at once. The
    // large reservation is mapped on demand, so its untouched part costs address space only,
    // and a long search does not copy its index into freshly faulted memory at each doubling.
    constexpr std::size_t kShortList = 1024;
    constexpr std::size_t kLongList = std::size_t{1} << 16;
    const std::size_t capacity = rows_.capacity();
    rows_.reserve(capacity < kShortList ? kShortList : std::max(kLongList, capacity * 2));
  }
  rows_.insert(rows_.begin() + index, Row{position, static_cast<std::uint32_t>(text.size())});
  live_ += text.size();
  return true;
}

bool RowStore::Replace(int index, std::string_view text) {
  Row& row = rows_.at(static_cast<std::size_t>(index));
  if (text.size() <= row.size) {
    // memmove: the text may be the row's own bytes.
    if (!text.empty()) std::memmove(Address(row.position), text.data(), text.size());
    dead_ += row.size - text.size();
    live_ -= row.size - text.size();
    row.size = static_cast<std::uint32_t>(text.size());
    return true;
  }
  if (text.size() > UINT32_MAX) return false;
  std::uint32_t position = 0;
  if (!Store(text, position)) return false;
  dead_ += row.size;
  live_ += text.size() - row.size;
  row = Row{position, static_cast<std::uint32_t>(text.size())};
  CompactIfWasteful();
  return true;
}

void RowStore::Erase(int index) {
  const auto at = rows_.begin() + index;
  dead_ += at->size;
  live_ -= at->size;
  rows_.erase(at);
  CompactIfWasteful();
}

void RowStore::Clear() {
  rows_.clear();
  // A list filled again after a clear reuses the blocks instead of faulting in new memory,
  // unless they are more than a list of this program's size needs.
  constexpr std::size_t kKeptSlots = 64;
  if (slots_.size() > kKeptSlots) {
    blocks_.clear();
    slots_.clear();
  }
  end_ = 0;
  live_ = 0;
  dead_ = 0;
}

void RowStore::CompactIfWasteful() {
  if (dead_ < kSlotSize || dead_ <= live_) return;
  RowStore fresh;
  fresh.rows_.reserve(rows_.size());
  for (const Row& row : rows_) {
    // The live rows fitted before, so they fit again with less waste.
    std::uint32_t position = 0;
    fresh.Store({Address(row.position), row.size}, position);
    fresh.rows_.push_back(Row{position, row.size});
  }
  fresh.live_ = live_;
  *this = std::move(fresh);
}

}  // namespace platform
