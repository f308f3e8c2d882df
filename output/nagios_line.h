// The monitoring plugin's answer (Nagios, Icinga, Naemon, Checkmk): one
// status line, "MAXDB <STATE> - <summary>", then " | " and the performance
// data of the channels, each 'label'=value[UOM];[warn];[crit];[min];[max].
#pragma once

#include <string>

#include "output/document_record.h"

namespace output {

// The line, with its line feed.
std::string NagiosLine(const DocumentRecord& record);

}  // namespace output
