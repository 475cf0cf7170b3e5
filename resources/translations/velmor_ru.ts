<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Управление взглядом</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>Управлять виртуальным курсором взглядом, когда колесо открыто</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>Время выбора взглядом (dwell)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>Задержка взгляда на поле в течение этого времени выбирает его. 0 отключает выбор взглядом — тогда подтверждайте щелчком или командой &quot;клик&quot;.</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>только щелчок</translation>
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
        <translation>Смена языка требует перезапуска. Перезапустить программу сейчас?</translation>
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
        <translation>Вкладки</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>Колёса выбора</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>Голосовые команды</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>Назначение</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Управление взглядом</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>Показать колесо</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>Показать окно</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Выход</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>Левая кнопка</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>Правая кнопка</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>Средняя кнопка</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>Боковая кнопка 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>Боковая кнопка 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>Кнопка %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>Настройки</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>клик</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>удерживать</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>отпустить</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>открыть</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>переключить</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>прочитать выделенное</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>отпустить всё</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>позвонить по номеру (телефон)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>сменить колесо</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>отдельное правило (кнопка → цель)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>сменить схему назначений</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>ждать</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>переназначение (заменить кнопку на…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>Тема интерфейса</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>Не удаётся открыть файл %1</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>Ошибка JSON: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>Файл не содержит ни &quot;wheels&quot;, ни &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Не удаётся сохранить файл %1</translation>
    </message>
</context>
</TS>
