#pragma once
// Errors that end an event handler. Their texts are Windows-1252 and are shown
// by the general error display (Ui.h: runHandler).
#include <stdexcept>
#include <string>

namespace vak {

class VakError : public std::runtime_error {
 public:
  explicit VakError(const std::string& cp1252Text) : std::runtime_error(cp1252Text) {}
};

// The texts a user can meet; each is Windows-1252.
std::string errInvalidType(const std::string& valueName);  // Ungültiger Datentyp für '...'
std::string errGetData(const std::string& valueName);      // Fehler beim Holen der Daten für '...'
std::string errSetData(const std::string& valueName);      // Fehler beim Setzen der Daten für '...'
std::string errIniWrite(const std::string& path);          // In ... kann nicht geschrieben werden
std::string errNotInteger(const std::string& text);        // '...' ist kein gültiger Integerwert
std::string errListIndex(long index);                      // Listenindex überschreitet das Maximum (...)

}  // namespace vak
