<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ComparePane</name>
    <message>
        <source>%1 of %2 in comparison</source>
        <extracomment>A pane of the comparison: &quot;2 of 3 in comparison&quot;.</extracomment>
        <translation>%1 von %2 im Vergleich</translation>
    </message>
</context>
<context>
    <name>CompletionAlert</name>
    <message>
        <source>Done!</source>
        <translation>Fertig!</translation>
    </message>
    <message>
        <source>All photos have been classified.</source>
        <translation>Alle Fotos sind einsortiert.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
</context>
<context>
    <name>DecisionRow</name>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Maybe</source>
        <translation>Vielleicht</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
</context>
<context>
    <name>FactsLine</name>
    <message>
        <source>Shooting facts</source>
        <translation>Aufnahmedaten</translation>
    </message>
</context>
<context>
    <name>HeaderRow</name>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Vesko</source>
        <translation>Vesko</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
</context>
<context>
    <name>InfoButton</name>
    <message>
        <source>Shooting facts</source>
        <translation>Aufnahmedaten</translation>
    </message>
    <message>
        <source>Shooting facts (I)</source>
        <translation>Aufnahmedaten (I)</translation>
    </message>
</context>
<context>
    <name>KeyOverview</name>
    <message>
        <source>Return</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Yes: move into “Selected”</source>
        <translation>Ja: nach „Selected“ verschieben</translation>
    </message>
    <message>
        <source>Backspace, Delete</source>
        <translation>Rücktaste, Entf</translation>
    </message>
    <message>
        <source>No: move into “Discarded”</source>
        <translation>Nein: nach „Discarded“ verschieben</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>Maybe: show again after the others</source>
        <translation>Vielleicht: nach den anderen noch einmal zeigen</translation>
    </message>
    <message>
        <source>Ctrl+Z</source>
        <translation>Strg+Z</translation>
    </message>
    <message>
        <source>Undo the last answer</source>
        <translation>Letzte Antwort rückgängig machen</translation>
    </message>
    <message>
        <source>Z, or a click on the photo</source>
        <translation>Z oder ein Klick aufs Foto</translation>
    </message>
    <message>
        <source>Actual size, and back</source>
        <translation>Originalgröße und zurück</translation>
    </message>
    <message>
        <source>F11, F</source>
        <translation>F11, F</translation>
    </message>
    <message>
        <source>Full screen, and back</source>
        <translation>Vollbild und zurück</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>?, F1</source>
        <translation>?, F1</translation>
    </message>
    <message>
        <source>This overview</source>
        <translation>Diese Übersicht</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>Press any key or click to close.</source>
        <translation>Zum Schließen eine Taste drücken oder klicken.</translation>
    </message>
    <message>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <source>Shooting facts on or off</source>
        <translation>Aufnahmedaten ein oder aus</translation>
    </message>
    <message>
        <source>C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>Compare the burst side by side, and back</source>
        <translation>Serie nebeneinander vergleichen, und zurück</translation>
    </message>
    <message>
        <source>←, →, 1–4, or a click</source>
        <translation>←, →, 1–4 oder ein Klick</translation>
    </message>
    <message>
        <source>Choose the photo to answer in the comparison</source>
        <translation>Im Vergleich das Foto wählen, das die Antwort bekommt</translation>
    </message>
    <message>
        <source>Shift+drag</source>
        <translation>Umschalt+Ziehen</translation>
    </message>
    <message>
        <source>Pan only the photo under the pointer</source>
        <translation>Nur das Foto unter dem Zeiger verschieben</translation>
    </message>
    <message>
        <source>Fitted photo; then leave the comparison, or full screen</source>
        <translation>Eingepasstes Foto; dann den Vergleich oder den Vollbildmodus verlassen</translation>
    </message>
</context>
<context>
    <name>LaunchArguments</name>
    <message>
        <source>Sorts a folder of photos one at a time: Yes, No or Maybe.</source>
        <translation>Sortiert die Fotos eines Ordners, eins nach dem anderen: Ja, Nein oder Vielleicht.</translation>
    </message>
    <message>
        <source>The folder of photos to open: a path or a file:// URL.</source>
        <translation>Der Ordner mit den Fotos: ein Pfad oder eine file://-URL.</translation>
    </message>
    <message>
        <source>Vesko opens one folder; ignored: %1</source>
        <translation>Vesko öffnet einen Ordner; übergangen: %1</translation>
    </message>
    <message>
        <source>“%1” is not a folder.</source>
        <translation>„%1“ ist kein Ordner.</translation>
    </message>
    <message>
        <source>There is no folder “%1”.</source>
        <translation>Es gibt keinen Ordner „%1“.</translation>
    </message>
</context>
<context>
    <name>Notice</name>
    <message>
        <source>“%1” is a link; Vesko moves photos only inside the chosen folder.</source>
        <translation>„%1“ ist ein Link; Vesko verschiebt Fotos nur innerhalb des gewählten Ordners.</translation>
    </message>
    <message>
        <source>“%1” was not moved: “%2” already holds a file of that name.</source>
        <translation>„%1“ wurde nicht verschoben: In „%2“ liegt schon eine Datei dieses Namens.</translation>
    </message>
    <message>
        <source>“%1” was not moved: Vesko may not write to this folder.</source>
        <translation>„%1“ wurde nicht verschoben: Vesko darf in diesen Ordner nicht schreiben.</translation>
    </message>
    <message>
        <source>“%1” was not moved: it is no longer in the folder.</source>
        <translation>„%1“ wurde nicht verschoben: Die Datei ist nicht mehr im Ordner.</translation>
    </message>
    <message>
        <source>“%1” is no longer in the folder and was skipped.</source>
        <translation>„%1“ ist nicht mehr im Ordner und wurde übersprungen.</translation>
    </message>
    <message>
        <source>“%1” was not moved: %2.</source>
        <translation>„%1“ wurde nicht verschoben: %2.</translation>
    </message>
    <message>
        <source>“%1” was not put back: another file now has its name.</source>
        <translation>„%1“ wurde nicht zurückgelegt: Eine andere Datei trägt jetzt ihren Namen.</translation>
    </message>
    <message>
        <source>“%1” was not put back: Vesko may not write to this folder.</source>
        <translation>„%1“ wurde nicht zurückgelegt: Vesko darf in diesen Ordner nicht schreiben.</translation>
    </message>
    <message>
        <source>“%1” was not put back: it is no longer in its subfolder.</source>
        <translation>„%1“ wurde nicht zurückgelegt: Die Datei ist nicht mehr in ihrem Unterordner.</translation>
    </message>
    <message>
        <source>“%1” was not put back: %2.</source>
        <translation>„%1“ wurde nicht zurückgelegt: %2.</translation>
    </message>
    <message>
        <source>It cannot be read.</source>
        <translation>Sie kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>It is not an image that Vesko reads.</source>
        <translation>Es ist kein Bild, das Vesko lesen kann.</translation>
    </message>
    <message>
        <source>It may be damaged, incomplete or too large.</source>
        <translation>Sie ist vielleicht beschädigt, unvollständig oder zu groß.</translation>
    </message>
    <message>
        <source>Vesko cannot read this camera&apos;s RAW file.</source>
        <translation>Vesko kann die RAW-Datei dieser Kamera nicht lesen.</translation>
    </message>
    <message>
        <source>“%1” could not go back and is in “%2”.</source>
        <translation>„%1“ konnte nicht zurück und liegt in „%2“.</translation>
    </message>
    <message>
        <source>Vesko cannot keep its record of moves in progress (%1): if it is interrupted while moving a photo&apos;s files, that move cannot be completed.</source>
        <translation>Vesko kann laufende Verschiebungen nicht festhalten (%1): Wird es beim Verschieben der Dateien eines Fotos unterbrochen, lässt sich das nicht mehr vollenden.</translation>
    </message>
    <message>
        <source>Moves that Vesko was interrupted in cannot be completed: its record of them is damaged. Nothing was moved.</source>
        <translation>Unterbrochene Verschiebungen lassen sich nicht vollenden: Veskos Aufzeichnung davon ist beschädigt. Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <source>Moves that Vesko was interrupted in cannot be completed: a newer Vesko wrote its record of them. Nothing was moved.</source>
        <translation>Unterbrochene Verschiebungen lassen sich nicht vollenden: Ihre Aufzeichnung stammt von einem neueren Vesko. Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <source>Moves that Vesko was interrupted in cannot be completed: something that is not a file stands in the place of its record of them. Nothing was moved.</source>
        <translation>Unterbrochene Verschiebungen lassen sich nicht vollenden: Wo ihre Aufzeichnung liegen sollte, steht etwas, das keine Datei ist. Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <source>Moves that Vesko was interrupted in cannot be completed: its record of them cannot be read (%1). Nothing was moved.</source>
        <translation>Unterbrochene Verschiebungen lassen sich nicht vollenden: Vesko kann ihre Aufzeichnung nicht lesen (%1). Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <source>“%1” already holds a file of that name</source>
        <translation>In „%1“ liegt schon eine Datei dieses Namens</translation>
    </message>
    <message>
        <source>Vesko may not write there</source>
        <translation>Vesko darf dort nicht schreiben</translation>
    </message>
    <message>
        <source>one of the two folders is a link, and Vesko moves photos only inside the chosen folder</source>
        <translation>einer der beiden Ordner ist ein Link, und Vesko verschiebt Fotos nur innerhalb des gewählten Ordners</translation>
    </message>
    <message>
        <source>“%1” was moved to “%2” to rejoin its photo after Vesko was interrupted.</source>
        <translation>„%1“ wurde nach „%2“ verschoben, zurück zu seinem Foto, nachdem Vesko unterbrochen worden war.</translation>
    </message>
    <message>
        <source>“%1” in “%2” was left where it is: it has been changed, replaced or removed since Vesko was interrupted moving it.</source>
        <translation>„%1“ in „%2“ bleibt, wo es ist: Es wurde geändert, ersetzt oder entfernt, seit Vesko beim Verschieben unterbrochen wurde.</translation>
    </message>
    <message>
        <source>“%1” in “%2” could not rejoin its photo “%3” in “%4” after Vesko was interrupted: %5. Both stay where they are.</source>
        <translation>„%1“ in „%2“ konnte nach der Unterbrechung nicht zu seinem Foto „%3“ in „%4“ zurück: %5. Beide bleiben, wo sie sind.</translation>
    </message>
    <message>
        <source>Vesko was interrupted while moving “%1” and its files in “%2”, which is no longer there: check that they are together.</source>
        <translation>Vesko wurde beim Verschieben von „%1“ und seinen Dateien in „%2“ unterbrochen, und den Ordner gibt es nicht mehr: Bitte prüfen, ob sie beisammen sind.</translation>
    </message>
    <message>
        <source>Burst · %1 of %2</source>
        <translation>Serie · %1 von %2</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>keine Berechtigung</translation>
    </message>
    <message>
        <source>it is not there</source>
        <translation>er ist nicht vorhanden</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>er ist kein Ordner</translation>
    </message>
    <message>
        <source>Vesko cannot read “%1”: %2.</source>
        <translation>Vesko kann „%1“ nicht lesen: %2.</translation>
    </message>
    <message>
        <source>RAW preview: the %1 can&apos;t be shown</source>
        <translation>RAW-Vorschau: das %1 lässt sich nicht zeigen</translation>
    </message>
</context>
<context>
    <name>PhotoPlaceholder</name>
    <message>
        <source>This file can&apos;t be shown</source>
        <translation>Diese Datei kann nicht angezeigt werden</translation>
    </message>
</context>
<context>
    <name>ProgressArea</name>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>Select a folder to begin</source>
        <translation>Wählen Sie einen Ordner, um zu beginnen</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>%1 of %2 photos decided</source>
        <translation>%1 von %2 Fotos entschieden</translation>
    </message>
</context>
<context>
    <name>ShootingFacts</name>
    <message>
        <source>%1 mm (%2 mm equiv.)</source>
        <translation>%1 mm (KB: %2 mm)</translation>
    </message>
    <message>
        <source>No shooting data</source>
        <translation>Keine Aufnahmedaten</translation>
    </message>
</context>
<context>
    <name>StartScreen</name>
    <message>
        <source>Drag or select the folder with images</source>
        <translation>Ziehen Sie den Ordner mit den Bildern hierher oder wählen Sie ihn aus</translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Include RAW files: show RAW-only shots, move RAW and sidecar files with their photos</source>
        <translation>RAW-Dateien einbeziehen: RAW-Aufnahmen ohne Foto zeigen, RAW- und Begleitdateien mit ihren Fotos verschieben</translation>
    </message>
</context>
<context>
    <name>ZoomBadge</name>
    <message>
        <source>100%</source>
        <translation>100 %</translation>
    </message>
    <message>
        <source>100% of the camera&apos;s preview</source>
        <translation>100 % der Kameravorschau</translation>
    </message>
    <message>
        <source>Actual size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Zoomed to 100%</source>
        <translation>Auf 100 % vergrößert</translation>
    </message>
</context>
</TS>
