<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>視線操作</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>ホイールが開いている間、視線で仮想カーソルを動かす</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>視線による選択時間（ドウェル）</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>視線をこの時間フィールドに留めると選択されます。0 で視線による選択はオフになり、クリックまたはコマンド「クリック」で確定します。</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>クリックのみ</translation>
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
        <translation>言語の変更には再起動が必要です。今すぐプログラムを再起動しますか？</translation>
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
        <translation>タブ</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>スタート</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>選択ホイール</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>音声コマンド</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>割り当て</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>視線操作</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>ホイールを表示</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>ウィンドウを表示</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>終了</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>左ボタン</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>右ボタン</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>中ボタン</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>サイドボタン 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>サイドボタン 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>ボタン %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>設定</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>クリック</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>長押し</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>離す</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>切り替え</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>選択範囲を読み上げる</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>すべて離す</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>番号に電話（電話）</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>ホイールを切り替え</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>単一ルール（ボタン → ターゲット）</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>割り当てスキームを切り替え</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>待機</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>再割り当て（ボタンを置き換え…）</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>インターフェースのテーマ</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>ファイル %1 を開けません</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>JSON エラー: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>ファイルに &quot;wheels&quot; も &quot;actions&quot; もありません</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>ファイル %1 を保存できません</translation>
    </message>
</context>
</TS>
