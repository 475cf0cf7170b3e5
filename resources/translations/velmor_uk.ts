<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Керування поглядом</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>Керувати віртуальним курсором поглядом, коли колесо відкрите</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>Час вибору поглядом (dwell)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>Затримка погляду на полі протягом цього часу вибирає його. 0 вимикає вибір поглядом — тоді підтверджуйте клацанням або командою &quot;клік&quot;.</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>лише клацання</translation>
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
        <translation>Зміна мови потребує перезапуску. Перезапустити програму зараз?</translation>
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
        <translation>Початок</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>Колеса вибору</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>Голосові команди</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>Призначення</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Керування поглядом</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Налаштування</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>Показати колесо</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>Показати вікно</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Вийти</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>Ліва кнопка</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>Права кнопка</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>Середня кнопка</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>Бічна кнопка 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>Бічна кнопка 5</translation>
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
        <translation>Налаштування</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>клік</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>утримувати</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>відпустити</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>відкрити</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>перемкнути</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>прочитати виділене</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>відпустити все</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>зателефонувати на номер (телефон)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>змінити колесо</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>окреме правило (кнопка → ціль)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>змінити схему призначень</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>чекати</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>перепризначення (замінити кнопку на…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>Тема інтерфейсу</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>Не вдається відкрити файл %1</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>Помилка JSON: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>Файл не містить ні &quot;wheels&quot;, ні &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Не вдається зберегти файл %1</translation>
    </message>
</context>
</TS>
