// Whether the system has a printer to print on.
#pragma once

namespace kavlo {

// The system's list of local and connected printers holds at least one entry.
bool PrintersInstalled();

}  // namespace kavlo
