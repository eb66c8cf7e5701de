#include "settings/Texts.h"

#include "Version.h"
#include "platform/Text.h"
#include "settings/UpdateRules.h"

namespace vak {

const char* const kVersionSuffix = " " VAK_VERSION;
// The product's own host: web page and update server. (A reserved example
// domain until the product's host is settled; VAK_UPDATE_SERVER points the
// update check at another server.)
const char* const kUpdateServer = "http://vak.example.org";
const char* const kProductAddress = "http://vak.example.org/vak/";
const char* const kLicenceAddress = "https://www.gnu.org/licenses/gpl-2.0.txt";

void fillMessageTextsFirst(MessageTexts& t) {
  t.statusIconNr = T("Statusicon Nr. ");
  t.aufVersion = T("auf Version");
  t.aktuallisieren = T("aktuallisieren");
  t.updateDone = T("Updateprüfung abgeschlossen!");
  t.noUpdates = T("Keine Updates vorhanden!");
  t.downloadError = T("Fehler beim Herunterladen der Daten");
  t.checkConnection = T("Prüfen sie Ihre Internetverbindung!");
  t.historyUrl = updateServer() + "/vak/update_de.html";
  t.achtung = T("Achtung!");
}

void fillMessageTextsRest(MessageTexts& t) {
  t.statusLost = T("Aktuelle Statusmeldungen gehen verloren!");
  t.saveBefore = T("Wollen sie diese vorher speichern?");
  t.notAStatusFile = T("ist keine korrekte Statusdatei!");
  t.updatesAvailable = T("Updates vorhanden!");
  t.wantUpdateTo = T("Wollen sie jetzt auf");
  t.aktualisieren = T("aktualisieren?");
  t.info = T("Info!");
}

}  // namespace vak
