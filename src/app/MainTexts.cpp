#include "app/MainTexts.h"

#include "app/Ids.h"
#include "platform/Text.h"
#include "platform/WinText.h"

namespace vak {

namespace {
const char* const kAwayHint =
    "Achtung!\r\nDamit die Statusnachrichten korrekt übernommen werden,\r\ndarf ICQ während der Übernahme der "
    "Einstellungen\r\nnicht laufen!";
}  // namespace

const std::vector<ControlText>& mainTexts() {
  static const std::vector<ControlText> table = {
      {ids::Headline, "Meldewart für ICQ"},
      {ids::ProfileLabel, "ICQ-Profil:"},
      {ids::Button1, "Änderungen übernehmen", nullptr,
       "Übernimmt nur Statusmeldungen sowie die ICQTweaks und Einstellungen."},
      {ids::Button2, "Reset"},
      {ids::AwayEd, "", nullptr, kAwayHint},
      {ids::NaEd, "", nullptr, kAwayHint},
      {ids::Image33, nullptr, nullptr, "Abwesend"},
      {ids::Image34, nullptr, nullptr, "Nicht verfügbar (länger abwesend)"},
  };
  return table;
}

namespace {

// "&": the underlined letter that opens the menu or chooses the item (Alt+D, then L).
const std::vector<ControlText>& menuTexts() {
  static const std::vector<ControlText> table = {
      {ids::Restorelastsaved1, "&Restore"}, {ids::Laden, "&Laden"},
      {ids::Speichern1, "&Speichern"},      {ids::Einstellungen1, "&Einstellungen"},
      {0, nullptr},                          {ids::Exit, "E&xit"},
      {ids::aufUpdateprfen1, "auf &Updates prüfen"}, {ids::Lizenz1, "&Lizenz..."},
      {ids::About1, "&About", "&Über"},
  };
  return table;
}

}  // namespace

void createMainMenu(HWND window) {
  HMENU menu = CreateMenu();
  HMENU datei = CreatePopupMenu();
  HMENU help = CreatePopupMenu();
  for (const ControlText& t : menuTexts()) {
    HMENU into = t.id >= ids::aufUpdateprfen1 ? help : datei;
    if (t.text)
      AppendMenuW(into, MF_STRING, static_cast<UINT_PTR>(t.id), widen(T(t.text)).c_str());
    else
      AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
  }
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(datei), L"&Datei");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&?");
  SetMenu(window, menu);
}

void useBuiltInMenuTexts(HWND window) {
  for (const ControlText& t : menuTexts()) {
    if (!t.builtIn) continue;
    std::wstring w = widen(T(t.builtIn));
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = w.data();
    SetMenuItemInfoW(GetMenu(window), static_cast<UINT>(t.id), FALSE, &info);
  }
  DrawMenuBar(window);
}

}  // namespace vak
