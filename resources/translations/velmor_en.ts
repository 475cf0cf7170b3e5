<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Eye control</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>Move the virtual cursor with your eyes while a wheel is open</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>Gaze selection time (dwell)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>Resting your gaze on a field for this long selects it. 0 turns gaze selection off — you then confirm with a click or the command &quot;click&quot;.</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>click only</translation>
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
        <translation>Changing the language needs a restart. Restart the program now?</translation>
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
        <translation>Tabs</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>Selection wheels</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>Voice commands</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>Mapping</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Eye control</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>Show wheel</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>Show window</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>Left button</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>Right button</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>Middle button</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>Side button 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>Side button 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>Button %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>Settings</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>click</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>hold</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>release</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>open</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>toggle</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>read the selection</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>release all</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>call a number (phone)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>switch wheel</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>single rule (button → target)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>switch mapping scheme</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>wait</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>remap (turn the button into…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>Interface theme</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>Cannot open the file %1</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>JSON error: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>The file contains neither &quot;wheels&quot; nor &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Cannot save the file %1</translation>
    </message>
</context>
</TS>
