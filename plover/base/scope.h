// What a switch applies of a version: every entry, the entries outside Maps
// (the files), or those inside it (the maps). The values are the program's
// own numbers; any other value applies no entry.
#pragma once

namespace plover {

enum class Scope : short { kAll = 1, kFiles = 2, kMaps = 3 };

}  // namespace plover
