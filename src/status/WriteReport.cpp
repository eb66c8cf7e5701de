#include "status/WriteReport.h"

#include "platform/Convert.h"
#include "platform/Text.h"
#include "status/IcqKeys.h"

namespace vak {

namespace {

std::string numberList(const std::vector<int>& numbers) {
  std::string out;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i) out += ", ";
    out += intToStr(numbers[i]);
  }
  return out;
}

}  // namespace

std::string statusWriteFailureText(const StatusWriteReport& report, const std::string& uin, bool backupTaken) {
  std::string text = T("Nicht alles konnte in die Registry geschrieben werden (Profil ") + uin + "):";
  if (!report.failedEntries.empty()) {
    text += report.failedEntries.size() == 1 ? T("\r\n- Statusmeldung Nr. ") : T("\r\n- Statusmeldungen Nr. ");
    text += numberList(report.failedEntries) + " unter " +
            icq::profileKeyText(icq::kUserRootName, uin, icq::kCustomStatusList);
  }
  if (report.awayFailed) {
    text += "\r\n- Abwesenheitstexte unter " + icq::profileKeyText(icq::kMachineRootName, uin, icq::kIcqLite);
    if (report.awayDenied)
      text += T(": Zugriff verweigert.\r\nDiese Schlüssel können nur mit Administratorrechten geändert werden. Starten "
                "Sie das Programm dazu mit \"Als Administrator ausführen\".");
  }
  text += backupTaken ? T("\r\n\r\nDie geschriebenen Statusmeldungen wurden gesichert.")
                      : T("\r\n\r\nEs wurde keine Sicherung angelegt.");
  return text;
}

std::string incompleteReadText(const std::string& uin) {
  if (uin.empty())
    return T("Es wurde nichts geschrieben: Noch ist kein ICQ-Profil vollständig ausgelesen.\r\nWählen Sie ein Profil "
             "aus, oder starten Sie das Programm neu.");
  return T("Es wurde nichts geschrieben: Das Profil ") + uin +
         T(" konnte nicht vollständig ausgelesen werden, die Anzeige ist unvollständig.\r\nBeheben Sie den zuvor "
           "gemeldeten Fehler und lesen Sie das Profil neu aus (\"Reset\").");
}

}  // namespace vak
