<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
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
    <name>Notice</name>
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
        <source>“%1” could not go back and is in “%2”.</source>
        <translation>„%1“ konnte nicht zurück und liegt in „%2“.</translation>
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
