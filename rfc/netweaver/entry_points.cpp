#include "rfc/netweaver/entry_points.h"

namespace rfc::nw {

std::optional<std::string> TakeEntryPoints(const EntryPointFinder& find, EntryPoints& points) {
  EntryPoints taken;
  std::optional<std::string> missing;
  std::size_t next = 0;
  const auto take = [&](auto*& entry) {
    TakeEntryPoint(find, kEntryPointNames[next++], entry, missing);
  };
  take(taken.open_connection);
  take(taken.close_connection);
  take(taken.get_function_desc);
  take(taken.create_function);
  take(taken.destroy_function);
  take(taken.invoke);
  take(taken.set_chars);
  take(taken.get_chars);
  take(taken.get_int);
  take(taken.get_int1);
  take(taken.get_int2);
  take(taken.get_string);
  take(taken.get_bytes);
  take(taken.get_structure);
  take(taken.get_table);
  take(taken.get_row_count);
  take(taken.move_to);
  take(taken.get_current_row);
  take(taken.describe_type);
  take(taken.get_field_count);
  take(taken.get_field_desc_by_index);
  take(taken.get_parameter_count);
  take(taken.get_parameter_desc_by_index);
  if (!missing) points = taken;
  return missing;
}

}  // namespace rfc::nw
