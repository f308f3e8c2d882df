#include "rfcsim/recorder.h"

#include <cstdint>
#include <cstring>

#include "rfcsim/files.h"
#include "rfcsim/text.h"

namespace rfcsim {

Recorder::Recorder(std::string path) : path_(std::move(path)) {}

void Recorder::Write(const Json& line) const {
  if (!enabled()) return;
  // Every text went through Latin1ToUtf8, so replacing is only a safety net.
  AppendToFile(path_, line.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n");
}

Json RecordText(const char* text) { return text ? Json(Latin1ToUtf8(text)) : Json(nullptr); }

namespace {

Json DescribeServer(const RFC_CONNOPT_R3ONLY& server) {
  return {{"host", RecordText(server.hostname)},
          {"system_number", server.sysnr},
          {"gateway_host", RecordText(server.gateway_host)},
          {"gateway_service", RecordText(server.gateway_service)}};
}

Json DescribeGateway(const RFC_CONNOPT_CPIC& gateway) {
  return {{"gateway_host", RecordText(gateway.gateway_host)},
          {"gateway_service", RecordText(gateway.gateway_service)}};
}

Json StructureName(const StructureNames& structures, unsigned type) {
  const auto it = structures.find(type);
  return it == structures.end() ? Json(nullptr) : Json(it->second);
}

Json ParameterValue(const RFC_PARAMETER& parameter) {
  if (!parameter.addr) return nullptr;
  if (parameter.type == RFCTYPE_INT && parameter.leng == 4) {
    std::int32_t value;
    std::memcpy(&value, parameter.addr, sizeof value);
    return value;
  }
  if (parameter.type == RFCTYPE_INT2 && parameter.leng == 2) {
    std::int16_t value;
    std::memcpy(&value, parameter.addr, sizeof value);
    return value;
  }
  return Latin1ToUtf8(std::string_view(static_cast<const char*>(parameter.addr), parameter.leng));
}

}  // namespace

Json DescribeOptions(const RFC_OPTIONS* options) {
  if (!options) return nullptr;
  Json connection = nullptr;
  if (options->connopt && options->mode == RFC_MODE_R3ONLY) {
    connection = DescribeServer(*static_cast<const RFC_CONNOPT_R3ONLY*>(options->connopt));
  } else if (options->connopt && options->mode == RFC_MODE_CPIC) {
    connection = DescribeGateway(*static_cast<const RFC_CONNOPT_CPIC*>(options->connopt));
  }
  return {{"destination", RecordText(options->destination)},
          {"mode", static_cast<int>(options->mode)},
          {"connection", connection},
          {"client", RecordText(options->client)},
          {"user", RecordText(options->user)},
          {"password", RecordText(options->password)},
          {"language", RecordText(options->language)},
          {"trace", options->trace}};
}

Json DescribeElements(const RFC_TYPE_ELEMENT* elements, unsigned count) {
  if (!elements) return nullptr;
  Json list = Json::array();
  for (unsigned i = 0; i < count; ++i) {
    const RFC_TYPE_ELEMENT& element = elements[i];
    list.push_back({{"name", RecordText(element.name)},
                    {"type", element.type},
                    {"length", element.length},
                    {"decimals", element.decimals},
                    {"offset", element._not_used}});
  }
  return list;
}

Json DescribeParameters(const RFC_PARAMETER* parameters, bool with_values,
                        const StructureNames& structures) {
  if (!parameters) return nullptr;
  Json list = Json::array();
  for (const RFC_PARAMETER* p = parameters; p->name; ++p) {
    Json entry = {{"name", RecordText(p->name)},
                  {"name_length", p->nlen},
                  {"type", p->type},
                  {"structure", StructureName(structures, p->type)},
                  {"length", p->leng}};
    if (with_values) entry["value"] = ParameterValue(*p);
    list.push_back(std::move(entry));
  }
  return list;
}

Json TableSerial(const TableRegistry& registry, const void* handle) {
  const InternalTable* table = registry.Find(handle);
  return table ? Json(table->serial()) : Json(nullptr);
}

Json DescribeTables(const RFC_TABLE* tables, const TableRegistry& registry,
                    const StructureNames& structures) {
  if (!tables) return nullptr;
  Json list = Json::array();
  for (const RFC_TABLE* t = tables; t->name; ++t) {
    list.push_back({{"name", RecordText(t->name)},
                    {"name_length", t->nlen},
                    {"type", t->type},
                    {"structure", StructureName(structures, t->type)},
                    {"row_length", t->leng},
                    {"table", TableSerial(registry, t->ithandle)},
                    {"mode", static_cast<int>(t->itmode)},
                    {"new_table", t->newitab}});
  }
  return list;
}

}  // namespace rfcsim
