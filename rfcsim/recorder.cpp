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

Json DescribeServer(const ServerAddress& server) {
  return {{"host", RecordText(server.host)},
          {"system_number", server.system_number},
          {"gateway_host", RecordText(server.gateway_host)},
          {"gateway_service", RecordText(server.gateway_service)}};
}

Json DescribeGateway(const GatewayAddress& gateway) {
  return {{"gateway_host", RecordText(gateway.gateway_host)},
          {"gateway_service", RecordText(gateway.gateway_service)}};
}

Json StructureName(const StructureNames& structures, unsigned type) {
  const auto it = structures.find(type);
  return it == structures.end() ? Json(nullptr) : Json(it->second);
}

Json ParameterValue(const RfcParameter& parameter) {
  if (!parameter.address) return nullptr;
  if (parameter.type == kRfcTypeInt && parameter.length == 4) {
    std::int32_t value;
    std::memcpy(&value, parameter.address, sizeof value);
    return value;
  }
  if (parameter.type == kRfcTypeInt2 && parameter.length == 2) {
    std::int16_t value;
    std::memcpy(&value, parameter.address, sizeof value);
    return value;
  }
  return Latin1ToUtf8(
      std::string_view(static_cast<const char*>(parameter.address), parameter.length));
}

}  // namespace

Json DescribeOptions(const OpenOptions* options) {
  if (!options) return nullptr;
  Json connection = nullptr;
  if (options->connection && options->mode == 0) {
    connection = DescribeServer(*static_cast<const ServerAddress*>(options->connection));
  } else if (options->connection && options->mode == 1) {
    connection = DescribeGateway(*static_cast<const GatewayAddress*>(options->connection));
  }
  return {{"destination", RecordText(options->destination)},
          {"mode", options->mode},
          {"connection", connection},
          {"client", RecordText(options->client)},
          {"user", RecordText(options->user)},
          {"password", RecordText(options->password)},
          {"language", RecordText(options->language)},
          {"trace", options->trace}};
}

Json DescribeElements(const RfcTypeElement* elements, unsigned count) {
  if (!elements) return nullptr;
  Json list = Json::array();
  for (unsigned i = 0; i < count; ++i) {
    const RfcTypeElement& element = elements[i];
    list.push_back({{"name", RecordText(element.name)},
                    {"type", element.type},
                    {"length", element.length},
                    {"decimals", element.decimals},
                    {"offset", element.offset}});
  }
  return list;
}

Json DescribeParameters(const RfcParameter* parameters, bool with_values,
                        const StructureNames& structures) {
  if (!parameters) return nullptr;
  Json list = Json::array();
  for (const RfcParameter* p = parameters; p->name; ++p) {
    Json entry = {{"name", RecordText(p->name)},
                  {"name_length", p->name_length},
                  {"type", p->type},
                  {"structure", StructureName(structures, p->type)},
                  {"length", p->length}};
    if (with_values) entry["value"] = ParameterValue(*p);
    list.push_back(std::move(entry));
  }
  return list;
}

Json TableSerial(const TableRegistry& registry, const void* handle) {
  const InternalTable* table = registry.Find(handle);
  return table ? Json(table->serial()) : Json(nullptr);
}

Json DescribeTables(const RfcTable* tables, const TableRegistry& registry,
                    const StructureNames& structures) {
  if (!tables) return nullptr;
  Json list = Json::array();
  for (const RfcTable* t = tables; t->name; ++t) {
    list.push_back({{"name", RecordText(t->name)},
                    {"name_length", t->name_length},
                    {"type", t->type},
                    {"structure", StructureName(structures, t->type)},
                    {"row_length", t->row_length},
                    {"table", TableSerial(registry, t->table)},
                    {"mode", t->mode},
                    {"new_table", t->new_table}});
  }
  return list;
}

}  // namespace rfcsim
