#!/usr/bin/env python3
"""Writes sample ICQ Lite 5.1 data for trying VAK out in a Wine prefix.

    make-demo-data.py OUTDIR [--icq-dir WINDOWS_FOLDER]

OUTDIR receives
  icq-demo.reg   REGEDIT4 file with three profiles (import with `wine regedit /S`)
  Sounds/        the ten event sounds ICQ plays (short beeps)
  Smileys/       Smiley1.bmp ... Smiley28.bmp (19 x 19 faces)

--icq-dir is the Windows path under which ICQ would find Sounds and Smileys
(the registry's SoundFilePath and SmileyFilePath point below it). Without it
the data is used where it was written, through Wine's drive Z:.

Everything is generated here; the script needs nothing but the standard library.
"""
import argparse
import math
import os
import struct
import sys
import wave

SOUND_FILES = [
    "Auth.wav", "Birthday.wav", "File.wav", "FileDone.wav", "Global.wav",
    "incomingsms.wav", "Message.wav", "MsgSent.wav", "MsgType.wav", "Notify.wav",
]

# ICQ Lite is a 32-bit program: in a 64-bit prefix its machine-wide keys live
# in the 32-bit view of HKLM\Software.
HKCU_ICQ = r"HKEY_CURRENT_USER\Software\Mirabilis\ICQ"
HKLM_ICQ = r"HKEY_LOCAL_MACHINE\Software\Wow6432Node\Mirabilis\ICQ"

# ICQ keeps the German letters of status titles and messages as UTF-8 byte
# pairs and every other character as a single Windows-1252 byte.
UMLAUTS = "äöüÄÖÜß"


def icq_text(s):
    out = bytearray()
    for ch in s:
        out += ch.encode("utf-8") if ch in UMLAUTS else ch.encode("cp1252")
    return bytes(out)


def ansi_text(s):
    return s.encode("cp1252")


# Status entries: number -> (title, message, On). On None = value missing;
# a message given as bytes is stored as REG_BINARY (NUL = line break, plus
# the trailing NUL that ICQ writes).
ANNA = {
    1: ("Online", "Ich bin da - schreib mir!", 1),
    2: ("Plaudern", "Lust auf einen Schwatz?", 1),
    3: ("Beschäftigt", "Gerade viel zu tun, antworte später.", 1),
    4: ("Bitte nicht stören", "Nur in dringenden Fällen!", 1),
    5: ("Unsichtbar", "", 0),
    6: ("Zurück gleich", "Bin in fünf Minuten wieder da.", 1),
    7: ("Kaffeepause", "Hole mir einen Kaffee.", 1),
    8: ("Musik", "Höre gerade Musik.", 1),
    9: ("Verliebt", "Schmetterlinge im Bauch ...", 0),
    10: ("Gute Nacht", "Schlaft gut!", 1),
    11: ("Sonne tanken", "Bin draußen im Garten.", 1),
    12: ("Lesen", icq_text("Ich lese gerade.") + b"\0" + icq_text("Bitte nicht stören.") + b"\0", 1),
    13: ("Telefon", "Ich telefoniere.", 1),
    14: ("Feierabend", "Ein Bier mit Kollegen.", 0),
    15: ("Mittagessen", "Guten Appetit!", 1),
    16: ("Müde", "Gähn ...", 1),
    17: ("Unterwegs", "Bin mit dem Auto unterwegs.", 0),
    18: ("Am Rechner", "Arbeite am Computer.", 1),
    19: ("Geburtstag", "Heute wird gefeiert!", 1),
    20: ("Super", "Alles bestens!", 1),
    21: ("Schlechtes Wetter", "Regen, Regen, Regen.", 0),
    22: ("Grübeln", "Denke nach ...", 1),
    23: ("Gute Laune", "Mir geht's prächtig.", 1),
    24: ("Traurig", "Heute ist nicht mein Tag.", 0),
    25: ("Krank", "Liege mit Grippe im Bett.", 1),
    26: ("Spielen", "Eine Runde Würfeln.", 1),
    # 27 and 28: no entry keys
    29: ("Zuhause", "Bin daheim.", None),
    30: ("Ohne Symbol", "Eintrag 30", 0),
    31: ("Fotos", "Sortiere Urlaubsfotos.", 1),
    32: ("Gewitter", "Der Strom ist weg!", 0),
}

BERND = {
    1: ("Da", "Schreibt mir ruhig.", 1),
    3: ("Arbeit", "Im Büro, kurz angebunden.", 1),
    6: ("Gleich zurück", "", 1),
    7: ("Kaffee", "Ohne Kaffee geht nichts.", 1),
    10: ("Schlafen", "Bis morgen.", 0),
    13: ("Handy", "Nur per SMS erreichbar.", None),
    18: ("Programmieren", "Code, Kaffee, Code.", 1),
    26: ("Zocken", "Nicht ansprechbar.", 0),
}

CLARA = {
    1: ("Hallo", "Schön, dass du da bist!", 1),
    2: ("Tratschen", "Erzähl mal!", 1),
    15: ("Kochen", "Es gibt Spätzle.", 1),
}

PROFILES = [
    # UIN, name, entries, sounds on (None: no CommonPrefs key), birthday, days, away, not available
    ("123456789", "Anna", ANNA, "Yes", "Yes", 3,
     "Bin gleich zurück", "Bin länger weg - Nachricht hinterlassen!"),
    ("23456789", "Bernd", BERND, "No", "No", 2, "Kurz weg.", "Nicht am Platz."),
    ("345678", "Clara", CLARA, None, "Yes", 7, "Bin einkaufen.", "Im Urlaub bis Montag, Grüße!"),
]
LAST_OWNER = 123456789


def reg_string(value):
    """A REGEDIT4 string: the bytes as they are, with \\ and " escaped."""
    return b'"' + value.replace(b"\\", b"\\\\").replace(b'"', b'\\"') + b'"'


def reg_hex(data):
    return b"hex:" + ",".join("%02x" % b for b in data).encode("ascii")


def reg_dword(n):
    return b"dword:%08x" % n


class RegFile:
    def __init__(self):
        self.lines = [b"REGEDIT4", b""]

    def comment(self, text):
        self.lines.append(b"; " + text.encode("ascii"))

    def delete_key(self, path):
        self.lines += [b"[-" + path.encode("ascii") + b"]", b""]

    def key(self, path, values):
        self.lines.append(b"[" + path.encode("ascii") + b"]")
        for name, value in values:
            self.lines.append(reg_string(name.encode("ascii")) + b"=" + value)
        self.lines.append(b"")

    def data(self):
        return b"\r\n".join(self.lines) + b"\r\n"


def make_reg(sound_path, smiley_path):
    reg = RegFile()
    reg.comment("Sample ICQ Lite 5.1 data for the VAK demo (generated by make-demo-data.py).")
    reg.comment("Importing it replaces all ICQ data of the prefix.")
    reg.lines.append(b"")
    reg.delete_key(HKCU_ICQ)
    reg.delete_key(HKLM_ICQ)
    reg.key(HKCU_ICQ + r"\NewOwners", [("LastOwner", reg_dword(LAST_OWNER))])
    for uin, name, entries, sound_on, birthday, days, away, na in PROFILES:
        base = HKCU_ICQ + "\\NewOwners\\" + uin
        reg.key(base, [("Name", reg_string(ansi_text(name)))])
        if sound_on is not None:
            reg.key(base + r"\CommonPrefs", [("AllResponsePlay", reg_string(sound_on.encode("ascii")))])
        for n in sorted(entries):
            title, message, on = entries[n]
            values = []
            if on is not None:
                values.append(("On", reg_dword(on)))
            values.append(("Name", reg_string(icq_text(title))))
            if isinstance(message, bytes):
                values.append(("Description", reg_hex(message)))
            else:
                values.append(("Description", reg_string(icq_text(message))))
            values.append(("LineNumber", reg_dword(n)))
            reg.key("%s\\CustomStatusList\\%d" % (base, n), values)
        reg.key(HKLM_ICQ + "\\NewOwners\\" + uin + r"\ICQLite", [
            ("AwayStatusText", reg_hex(ansi_text(away))),
            ("NAStatusText", reg_hex(ansi_text(na))),
            ("RemindBirthday", reg_string(birthday.encode("ascii"))),
            ("RemindBirthdayDaysBefore", reg_dword(days)),
            ("SoundFilePath", reg_string(ansi_text(sound_path))),
            ("SmileyFilePath", reg_string(ansi_text(smiley_path))),
        ])
    reg.key(HKLM_ICQ + r"\DefaultPrefs", [
        ("MultiInstance", reg_string(b"No")),
        ("ICQLite Version", reg_string(b"2050")),
    ])
    return reg.data()


def make_sound(path, index):
    """A short beep of one to three tones, different for each event."""
    rate = 11025
    base = 440.0 * 2 ** (index / 4.0)
    tones = [base, base * 1.25, base * 1.5][: 1 + index % 3]
    length = 0.09 if index % 2 else 0.14
    frames = bytearray()
    for freq in tones:
        count = int(rate * length)
        for i in range(count):
            fade = min(1.0, i / 200.0, (count - i) / 200.0)
            sample = int(9000 * fade * math.sin(2 * math.pi * freq * i / rate))
            frames += struct.pack("<h", sample)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def make_smiley(path, n):
    """A 19 x 19 24-bit face on white; colour, eyes and mouth vary with n."""
    size = 19
    colours = [(255, 215, 40), (255, 180, 60), (250, 150, 150), (150, 210, 90),
               (130, 180, 250), (240, 200, 120), (255, 235, 120)]
    face = colours[n % len(colours)]
    ink = (60, 30, 10)
    c = (size - 1) / 2.0
    pixels = [[(255, 255, 255)] * size for _ in range(size)]

    def put(x, y, colour):
        if 0 <= x < size and 0 <= y < size:
            pixels[y][x] = colour

    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d <= 8.6:
                put(x, y, ink if d > 7.7 else face)
    eyes = (n // 5) % 3
    for ex in (6, 12):
        if eyes == 0:
            spots = [(ex, 6), (ex, 7)]
        elif eyes == 1 and ex == 12:
            spots = [(ex - 1, 7), (ex, 7), (ex + 1, 7)]  # wink
        else:
            spots = [(ex, 6), (ex, 7), (ex + 1, 6), (ex + 1, 7)]
        for x, y in spots:
            put(x, y, ink)
    mouth = (n - 1) % 5
    for x in range(5, 14):
        t = (x - c) / 4.5
        if mouth == 0:
            put(x, int(round(12 + 2 * (1 - t * t))), ink)            # smile
        elif mouth == 1:
            put(x, int(round(14 - 2 * (1 - t * t))), ink)            # frown
        elif mouth == 2:
            put(x, 13, ink)                                          # straight
        elif mouth == 3 and 7 <= x <= 11:
            for y in range(11, 15):
                put(x, y, ink if y in (11, 14) or x in (7, 11) else (200, 40, 40))  # open
        elif mouth == 4:
            put(x, int(round(12 + 1.5 * (1 - t * t))), ink)
            if 9 <= x <= 10:
                for y in (14, 15):
                    put(x, y, (230, 80, 100))  # tongue
    # Mark every face with its number in the top left corner (n dots).
    for i in range(n % 4 + 1):
        put(1 + i, 0, (n * 37 % 200, n * 71 % 200, n * 13 % 200))

    row_bytes = (size * 3 + 3) & ~3
    body = bytearray()
    for y in range(size - 1, -1, -1):  # BMP rows run bottom-up
        row = bytearray()
        for r, g, b in pixels[y]:
            row += bytes((b, g, r))
        body += row + b"\0" * (row_bytes - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser(description="Write sample ICQ data for the VAK demo.")
    parser.add_argument("outdir")
    parser.add_argument("--icq-dir", help="Windows folder that will hold Sounds and Smileys")
    args = parser.parse_args()

    sounds = os.path.join(args.outdir, "Sounds")
    smileys = os.path.join(args.outdir, "Smileys")
    os.makedirs(sounds, exist_ok=True)
    os.makedirs(smileys, exist_ok=True)
    for i, name in enumerate(SOUND_FILES):
        make_sound(os.path.join(sounds, name), i)
    for n in range(1, 29):
        make_smiley(os.path.join(smileys, "Smiley%d.bmp" % n), n)

    icq_dir = args.icq_dir.rstrip("\\") if args.icq_dir else windows_path(args.outdir)
    with open(os.path.join(args.outdir, "icq-demo.reg"), "wb") as f:
        f.write(make_reg(icq_dir + "\\Sounds", icq_dir + "\\Smileys"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
