#pragma once
// Built-in German texts (Windows-1252) that the texts routine applies, and the
// message text table other parts of the program build their messages from.
#include <string>

namespace vak {

extern const char* const kVersionSuffix;  // " 2.0 RC3": a blank and the version (Version.h)
extern const char* const kUpdateServer;   // "http://..." without trailing "/"
extern const char* const kProductAddress; // the product's web page
extern const char* const kLicenceAddress; // the GNU General Public License as plain text

// The program-wide message texts; empty until the texts routine fills them.
struct MessageTexts {
  std::string statusIconNr;        // "Statusicon Nr. "
  std::string aufVersion;          // "auf Version"
  std::string aktuallisieren;      // "aktuallisieren"
  std::string updateDone;          // "Updateprüfung abgeschlossen!"
  std::string noUpdates;           // "Keine Updates vorhanden!"
  std::string downloadError;       // "Fehler beim Herunterladen der Daten"
  std::string checkConnection;     // "Prüfen sie Ihre Internetverbindung!"
  std::string historyUrl;          // update server + "/vak/update_de.html"
  std::string achtung;             // "Achtung!"
  std::string statusLost;          // "Aktuelle Statusmeldungen gehen verloren!"
  std::string saveBefore;          // "Wollen sie diese vorher speichern?"
  std::string notAStatusFile;      // "ist keine korrekte Statusdatei!"
  std::string updatesAvailable;    // "Updates vorhanden!"
  std::string wantUpdateTo;        // "Wollen sie jetzt auf"
  std::string aktualisieren;       // "aktualisieren?"
  std::string info;                // "Info!"
};

// The first nine entries (up to "Achtung!"), then the rest, as the texts routine fills them.
void fillMessageTextsFirst(MessageTexts& t);
void fillMessageTextsRest(MessageTexts& t);

}  // namespace vak
