<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Control con la mirada</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>Mover el cursor virtual con la mirada mientras la rueda está abierta</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>Tiempo de selección con la mirada (dwell)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>Mantener la mirada en un campo durante este tiempo lo selecciona. 0 desactiva la selección con la mirada: entonces confirmas con un clic o con el comando &quot;clic&quot;.</translation>
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
        <translation>El cambio de idioma requiere reiniciar. ¿Reiniciar el programa ahora?</translation>
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
        <translation>Pestañas</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>Ruedas de selección</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>Comandos de voz</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>Asignación</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Control con la mirada</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>Mostrar rueda</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>Mostrar ventana</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>Botón izquierdo</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>Botón derecho</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>Botón central</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>Botón lateral 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>Botón lateral 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>Botón %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>Ajustes</translation>
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
        <translation>mantener</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>soltar</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>abrir</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>alternar</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>leer la selección</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>soltar todo</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>llamar a un número (teléfono)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>cambiar rueda</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>regla única (botón → destino)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>cambiar esquema de asignación</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>esperar</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>reasignación (cambiar el botón por…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>Tema de la interfaz</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>No se puede abrir el archivo %1</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>Error de JSON: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>El archivo no contiene &quot;wheels&quot; ni &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>No se puede guardar el archivo %1</translation>
    </message>
</context>
</TS>
