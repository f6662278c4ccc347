// The list box's row store against a plain vector of strings, through the operations the box
// makes of its messages: rows that span several blocks, a shorter and a longer text written
// over a row, and enough deletions for the store to compact itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/row_store.h"

namespace {

struct Step {
  enum Kind { kInsert, kReplace, kErase, kClear } kind;
  int index;   // -1: at the end (insert), the last row (others)
  int size;    // of the text
  int repeat;  // times in a row
};

// Distinct bytes per row and size, so a row read from the wrong place shows.
std::string Text(int serial, int size) {
  std::string text(static_cast<std::size_t>(size), '\0');
  for (int i = 0; i < size; ++i)
    text[static_cast<std::size_t>(i)] = static_cast<char>('!' + (serial * 7 + i) % 90);
  return text;
}

struct Script {
  const char* name;
  std::vector<Step> steps;
};

TEST(RowStore, MatchesVectorOfStrings) {
  const std::vector<Script> scripts = {
      {"many short rows, the cleaning pass shortening each",
       {{Step::kInsert, -1, 60, 9000}, {Step::kReplace, 0, 50, 1}, {Step::kReplace, -1, 58, 1}}},
      {"rows longer than a block, between short ones",
       {{Step::kInsert, -1, 100, 3},
        {Step::kInsert, 1, 70000, 1},
        {Step::kInsert, -1, 200000, 1},
        {Step::kInsert, -1, 65536, 2},
        {Step::kInsert, -1, 0, 2},
        {Step::kInsert, 0, 10, 5}}},
      {"longer texts over rows, then deletions until the store compacts",
       {{Step::kInsert, -1, 1000, 300},
        {Step::kReplace, 5, 3000, 1},
        {Step::kReplace, -1, 40000, 1},
        {Step::kErase, 0, 0, 250},
        {Step::kInsert, 3, 500, 4},
        {Step::kErase, -1, 0, 20}}},
      {"cleared and filled again",
       {{Step::kInsert, -1, 5000, 40},
        {Step::kClear, 0, 0, 1},
        {Step::kInsert, -1, 7, 3},
        {Step::kInsert, -1, 30000, 10},
        {Step::kInsert, -1, 70000, 1},
        {Step::kInsert, -1, 100, 3},
        {Step::kReplace, 1, 0, 1}}},
  };
  for (const Script& script : scripts) {
    platform::RowStore store;
    std::vector<std::string> model;
    int serial = 0;
    for (const Step& step : script.steps) {
      for (int n = 0; n < step.repeat; ++n) {
        const std::string text = Text(++serial, step.size);
        const int last = static_cast<int>(model.size()) - 1;
        switch (step.kind) {
          case Step::kInsert: {
            const int at = step.index < 0 ? last + 1 : step.index;
            ASSERT_TRUE(store.Insert(at, text));
            model.insert(model.begin() + at, text);
            break;
          }
          case Step::kReplace: {
            const int at = step.index < 0 ? last : step.index;
            ASSERT_TRUE(store.Replace(at, text));
            model[static_cast<std::size_t>(at)] = text;
            break;
          }
          case Step::kErase: {
            const int at = step.index < 0 ? last : step.index;
            store.Erase(at);
            model.erase(model.begin() + at);
            break;
          }
          case Step::kClear:
            store.Clear();
            model.clear();
            break;
        }
      }
    }
    ASSERT_EQ(store.Count(), static_cast<int>(model.size())) << script.name;
    for (int i = 0; i < store.Count(); ++i) {
      ASSERT_EQ(store.At(i), model[static_cast<std::size_t>(i)]) << script.name << ", row " << i;
    }
  }
}

}  // namespace
