<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Contrôle par le regard</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>Déplacer le curseur virtuel par le regard quand une roue est ouverte</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>Durée de sélection par le regard (dwell)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>Fixer un champ du regard pendant cette durée le sélectionne. 0 désactive la sélection par le regard : vous confirmez alors par un clic ou la commande &quot;clic&quot;.</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>clic uniquement</translation>
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
        <translation>Le changement de langue nécessite un redémarrage. Redémarrer le programme maintenant ?</translation>
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
        <translation>Onglets</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Accueil</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>Roues de sélection</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>Commandes vocales</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>Affectation</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>Contrôle par le regard</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>Afficher la roue</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>Afficher la fenêtre</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>Bouton gauche</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>Bouton droit</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>Bouton du milieu</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>Bouton latéral 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>Bouton latéral 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>Bouton %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>Paramètres</translation>
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
        <translation>maintenir</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>relâcher</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>ouvrir</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>basculer</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>lire la sélection</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>tout relâcher</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>appeler un numéro (téléphone)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>changer de roue</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>règle unique (bouton → cible)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>changer de schéma d&#x27;affectation</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>attendre</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>réaffectation (remplacer le bouton par…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>Thème de l&#x27;interface</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>Impossible d&#x27;ouvrir le fichier %1</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>Erreur JSON : %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>Le fichier ne contient ni &quot;wheels&quot; ni &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Impossible d&#x27;enregistrer le fichier %1</translation>
    </message>
</context>
</TS>
