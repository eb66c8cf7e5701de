#include "platform/Errors.h"

#include "platform/Text.h"

namespace vak {

std::string errInvalidType(const std::string& valueName) {
  return T("Ungültiger Datentyp für '") + valueName + "'";
}

std::string errGetData(const std::string& valueName) {
  return T("Fehler beim Holen der Daten für '") + valueName + "'";
}

std::string errSetData(const std::string& valueName) {
  return T("Fehler beim Setzen der Daten für '") + valueName + "'";
}

std::string errIniWrite(const std::string& path) { return "In " + path + " kann nicht geschrieben werden"; }

std::string errNotInteger(const std::string& text) { return "'" + text + T("' ist kein gültiger Integerwert"); }

std::string errListIndex(long index) {
  return T("Listenindex überschreitet das Maximum (") + std::to_string(index) + ")";
}

}  // namespace vak
