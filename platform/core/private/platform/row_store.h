// The rows of a list box: their bytes in a few large blocks, and an index of where each row
// starts and how long it is. A list of thousands of rows costs a handful of allocations
// instead of one per row, and the index is the only array that grows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace platform {

class RowStore {
 public:
  int Count() const { return static_cast<int>(rows_.size()); }
  // Valid until the store next changes.
  std::string_view At(int index) const;

  // False when the store has no room (the list box answers LB_ERRSPACE).
  bool Insert(int index, std::string_view text);
  // Shorter or equal text is written over the old row's bytes.
  bool Replace(int index, std::string_view text);
  void Erase(int index);
  void Clear();

 private:
  struct Row {
    std::uint32_t position;  // in the store's address space: slot and offset
    std::uint32_t size;
  };
  static constexpr unsigned kSlotBits = 16;
  static constexpr std::size_t kSlotSize = std::size_t{1} << kSlotBits;
  static constexpr std::uint32_t kOffsetMask = kSlotSize - 1;

  char* Address(std::uint32_t position) const {
    return slots_[position >> kSlotBits] + (position & kOffsetMask);
  }
  // Copies text to the end of the store; nothing when the address space is used up.
  bool Store(std::string_view text, std::uint32_t& position);
  // Rewrites the live rows into fresh blocks once dead bytes outweigh them.
  void CompactIfWasteful();

  std::vector<Row> rows_;
  // Blocks are whole slots; a row longer than a slot gets a block of consecutive slots, so a
  // row's bytes are always contiguous.
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<char*> slots_;  // the address of each slot
  // Where the next row goes, if its slot exists and has room. Slots after its slot are free
  // (kept from before a clear).
  std::uint64_t end_ = 0;
  std::size_t live_ = 0;  // bytes of the rows in rows_
  std::size_t dead_ = 0;  // bytes of deleted or overwritten rows still in the blocks
};

}  // namespace platform
