<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Blicksteuerung</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>Virtuellen Cursor per Blick steuern, solange ein Rad offen ist</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>Auswahlzeit per Blick (Dwell)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>Ruht der Blick so lange auf einem Feld, wird es ausgewählt. 0 schaltet die Auswahl per Blick aus — dann bestätigen Sie mit einem Klick oder dem Befehl &quot;klick&quot;.</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>nur Klick</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
</context>
<context>
    <name>velmor::gui::LanguageChooser</name>
    <message>
        <source>Język / Language</source>
        <translation>Język / Language</translation>
    </message>
    <message>
        <source>Velmor</source>
        <translation>Velmor</translation>
    </message>
    <message>
        <source>Zmiana języka wymaga ponownego uruchomienia. Uruchomić program ponownie teraz?</source>
        <translation>Die Sprachänderung erfordert einen Neustart. Programm jetzt neu starten?</translation>
    </message>
</context>
<context>
    <name>velmor::gui::MainWindow</name>
    <message>
        <source>Velmor</source>
        <translation>Velmor</translation>
    </message>
    <message>
        <source>Karty</source>
        <translation>Registerkarten</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>Auswahlräder</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>Sprachbefehle</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>Belegung</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Blicksteuerung</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>Rad zeigen</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>Fenster zeigen</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>Linke Taste</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>Rechte Taste</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>Mittlere Taste</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>Seitentaste 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>Seitentaste 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>Taste %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>Klick</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>halten</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>loslassen</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>öffnen</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>umschalten</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>Auswahl vorlesen</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>alles loslassen</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>Nummer anrufen (Telefon)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>Rad wechseln</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>einzelne Regel (Taste → Ziel)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>Belegungsschema wechseln</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>warten</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>Belegung (Taste ersetzen durch…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>Oberflächendesign</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>JSON-Fehler: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>Die Datei enthält weder &quot;wheels&quot; noch &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Die Datei %1 kann nicht gespeichert werden</translation>
    </message>
</context>
</TS>
