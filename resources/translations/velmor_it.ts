<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Controllo con lo sguardo</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>Muovi il cursore virtuale con lo sguardo quando la ruota è aperta</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>Tempo di selezione con lo sguardo (dwell)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>Tenere lo sguardo su un campo per questo tempo lo seleziona. 0 disattiva la selezione con lo sguardo: confermi allora con un clic o con il comando &quot;clic&quot;.</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>solo clic</translation>
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
        <translation>Il cambio di lingua richiede il riavvio. Riavviare il programma ora?</translation>
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
        <translation>Schede</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Inizio</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>Ruote di selezione</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>Comandi vocali</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>Mappatura</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Controllo con lo sguardo</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>Mostra ruota</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>Mostra finestra</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Esci</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>Tasto sinistro</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>Tasto destro</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>Tasto centrale</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>Tasto laterale 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>Tasto laterale 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>Tasto %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>Impostazioni</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>clic</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>tieni premuto</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>rilascia</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>apri</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>alterna</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>leggi la selezione</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>rilascia tutto</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>chiama un numero (telefono)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>cambia ruota</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>regola singola (tasto → destinazione)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>cambia schema di mappatura</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>attendi</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>rimappatura (sostituisci il tasto con…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>Tema dell&#x27;interfaccia</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>Impossibile aprire il file %1</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>Errore JSON: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>Il file non contiene né &quot;wheels&quot; né &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Impossibile salvare il file %1</translation>
    </message>
</context>
</TS>
