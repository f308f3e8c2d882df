// The data containers behind the NetWeaver handles: a function's parameters,
// a structure's fields, a table's rows. Every container registers itself
// while it lives, so that a stale or foreign handle is recognised instead of
// followed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rfcsim/nw/descriptions.h"
#include "rfcsim/text.h"

namespace rfcsim::nw {

class Record;
class Table;

// One field's or parameter's value. Which member counts follows `type`.
struct Slot {
  std::u16string name;
  RFCTYPE type = RFCTYPE_CHAR;
  unsigned length = 0;      // characters for texts, bytes otherwise
  unsigned decimals = 0;    // packed numbers
  std::u16string text;      // texts: exactly `length` characters
  std::int64_t number = 0;  // integers
  Bytes packed;             // packed numbers: the field's bytes
  std::unique_ptr<Record> structure;
  std::unique_ptr<Table> table;
};

class Container {
 public:
  Container();
  virtual ~Container();
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  // The record a field access reads: itself, or a table's current row (null
  // when the table has none).
  virtual Record* Current() = 0;
  // The type of a structure or of a table's rows; null for a function.
  virtual const TypeDescription* Type() const = 0;

  // Null unless `handle` is a live container.
  static Container* FromHandle(DATA_CONTAINER_HANDLE handle);
  DATA_CONTAINER_HANDLE Handle();
};

class Record : public Container {
 public:
  // A structure (or table row) of `type`, blank and zero.
  explicit Record(const TypeDescription& type);
  // A function's parameters, blank and zero, tables empty.
  explicit Record(const FunctionDescription& function);

  Record* Current() override { return this; }
  const TypeDescription* Type() const override { return type_; }
  const FunctionDescription* Function() const { return function_; }

  Slot* Find(std::u16string_view name);
  std::vector<Slot>& slots() { return slots_; }

  // Reads the fields from a row in the classic (one byte per character)
  // layout; texts are ISO 8859-1.
  void ReadClassic(const Bytes& image);

 private:
  const TypeDescription* type_ = nullptr;
  const FunctionDescription* function_ = nullptr;
  std::vector<Slot> slots_;
};

class Table : public Container {
 public:
  explicit Table(const TypeDescription& row_type) : row_type_(row_type) {}

  Record* Current() override;
  const TypeDescription* Type() const override { return &row_type_; }

  void Clear();
  Record& Append();
  std::size_t row_count() const { return rows_.size(); }
  Record& row(std::size_t index) { return *rows_[index]; }
  // False (and the position unchanged) past the last row.
  bool MoveTo(std::size_t index);

 private:
  const TypeDescription& row_type_;
  std::vector<std::unique_ptr<Record>> rows_;
  std::size_t current_ = 0;
};

// Blank-padded or cut to `length` characters.
std::u16string Fitted(std::u16string_view text, unsigned length);

}  // namespace rfcsim::nw
