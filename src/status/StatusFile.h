#pragma once
// Status files (.icq): one status set in an INI file, section "Statusdatei".
#include <string>

#include "status/StatusModel.h"

namespace vak {

// Writes "#01"=1 and sections 1..32 with a (title), b (message), c (state
// list slot); an existing file keeps its other keys. Titles and messages that
// an INI line cannot hold exactly also get their escaped form (LineCodec.h).
// A refused write throws "In {path} kann nicht geschrieben werden"; a text the
// file does not give back whole when read again throws "In {path} kann Eintrag
// {n} nicht vollständig gespeichert werden".
void saveStatusFile(const std::string& path, const StatusModel& m);
// The same, the messages naming shownPath instead of path.
void saveStatusFile(const std::string& path, const StatusModel& m, const std::string& shownPath);

enum class LoadResult { Loaded, NotAStatusFile };
// Reads titles, messages and active states (c == 1) into the model when "#01"
// is 1; otherwise leaves the model as it is. Never touches the state list or
// the away texts.
LoadResult loadStatusFile(const std::string& path, StatusModel& m);

}  // namespace vak
