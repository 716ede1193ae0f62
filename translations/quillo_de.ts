<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AppController</name>
    <message>
        <location filename="../src/app/AppController.cpp" line="+336"/>
        <source>Grant Access</source>
        <translation>Zugriff erlauben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillo renames new screenshots in this folder and files them into subfolders. Click Grant Access to allow it, or choose the folder you save screenshots to.</source>
        <translation>Quillo benennt neue Bildschirmfotos in diesem Ordner um und legt sie in Unterordnern ab. Klicken Sie auf „Zugriff erlauben“, um das zu gestatten, oder wählen Sie den Ordner, in dem Sie Bildschirmfotos speichern.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Watch Folder</source>
        <translation>Ordner überwachen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Choose the folder Quillo watches for new screenshots.</source>
        <translation>Wählen Sie den Ordner, den Quillo auf neue Bildschirmfotos überwacht.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Quillo cannot watch “%1”</source>
        <translation>Quillo kann „%1“ nicht überwachen</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Could not keep access to “%1”</source>
        <translation>Der Zugriff auf „%1“ konnte nicht behalten werden</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Could not undo the rename</source>
        <translation>Die Umbenennung konnte nicht rückgängig gemacht werden</translation>
    </message>
    <message>
        <location line="+21"/>
        <location line="+12"/>
        <source>Could not show the file</source>
        <translation>Die Datei konnte nicht angezeigt werden</translation>
    </message>
    <message>
        <location line="-7"/>
        <location line="+9"/>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>“%1” is no longer there.</source>
        <translation>„%1“ ist nicht mehr da.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Also clear the search index?</source>
        <translation>Auch den Suchindex leeren?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillo no longer keeps the text of new screenshots. The text of those it already read stays searchable until you clear it. Your screenshots stay where they are.</source>
        <translation>Quillo behält den Text neuer Bildschirmfotos nicht mehr. Der Text der bereits gelesenen bleibt durchsuchbar, bis Sie den Index leeren. Ihre Bildschirmfotos bleiben, wo sie sind.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Clear Search Index</source>
        <translation>Suchindex leeren</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Could not open the folder</source>
        <translation>Der Ordner konnte nicht geöffnet werden</translation>
    </message>
</context>
<context>
    <name>Appcast</name>
    <message>
        <location filename="../src/update/Appcast.cpp" line="+79"/>
        <source>The update feed is not valid XML (line %1: %2).</source>
        <translation>Der Aktualisierungs-Feed ist kein gültiges XML (Zeile %1: %2).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The update feed is not an RSS feed.</source>
        <translation>Der Aktualisierungs-Feed ist kein RSS-Feed.</translation>
    </message>
</context>
<context>
    <name>AppcastUpdater</name>
    <message>
        <location filename="../src/update/AppcastUpdater.cpp" line="+82"/>
        <source>The update feed is larger than 1 MiB.</source>
        <translation>Der Aktualisierungs-Feed ist größer als 1 MiB.</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Quillo %1 is offered without a signature, so it was not downloaded.</source>
        <translation>Quillo %1 wird ohne Signatur angeboten und wurde daher nicht heruntergeladen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quillo %1 is offered without a usable size, so it was not downloaded.</source>
        <translation>Quillo %1 wird ohne brauchbare Größenangabe angeboten und wurde daher nicht heruntergeladen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillo %1 is not offered over HTTPS, so it was not downloaded.</source>
        <translation>Quillo %1 wird nicht über HTTPS angeboten und wurde daher nicht heruntergeladen.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Could not create the download folder %1.</source>
        <translation>Der Download-Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Could not save the update in %1: %2</source>
        <translation>Die Aktualisierung konnte nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+16"/>
        <source>The download of Quillo %1 is larger than the %2 bytes the feed states, so it was deleted.</source>
        <translation>Der Download von Quillo %1 ist größer als die %2 Bytes, die der Feed angibt, und wurde daher gelöscht.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Could not save the update: %1</source>
        <translation>Die Aktualisierung konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The download of %1 ended after %2 of %3 bytes.</source>
        <translation>Der Download von %1 endete nach %2 von %3 Bytes.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The signature of %1 does not match the download, so it was deleted and nothing was installed.</source>
        <translation>Die Signatur von %1 passt nicht zum Download; er wurde daher gelöscht und nichts wurde installiert.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Could not save the update as %1: %2</source>
        <translation>Die Aktualisierung konnte nicht als %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The update server %1 stopped answering for %2 seconds.</source>
        <translation>Der Aktualisierungsserver %1 hat %2 Sekunden lang nicht mehr geantwortet.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Could not reach the update server %1: %2</source>
        <translation>Der Aktualisierungsserver %1 ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The update server %1 answered with HTTP status %2.</source>
        <translation>Der Aktualisierungsserver %1 hat mit dem HTTP-Status %2 geantwortet.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>No verified update is ready.</source>
        <translation>Keine geprüfte Aktualisierung liegt bereit.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Could not read the update %1: %2</source>
        <translation>Die Aktualisierung %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The downloaded update no longer matches its signature; nothing was installed.</source>
        <translation>Die heruntergeladene Aktualisierung passt nicht mehr zu ihrer Signatur; nichts wurde installiert.</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+12"/>
        <source>Could not replace %1: %2</source>
        <translation>%1 konnte nicht ersetzt werden: %2</translation>
    </message>
</context>
<context>
    <name>BacklogCommand</name>
    <message>
        <location filename="../src/cli/BacklogCommand.cpp" line="+67"/>
        <source>No such file or folder</source>
        <translation>Datei oder Ordner nicht gefunden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>its name is not valid UTF-8, so Quillo cannot rename it; rename it by hand</source>
        <translation>sein Name ist kein gültiges UTF-8, daher kann Quillo es nicht umbenennen; bitte von Hand umbenennen</translation>
    </message>
    <message>
        <location line="+84"/>
        <source>quillo: stopping after the files in hand</source>
        <translation>quillo: wird nach den Dateien in Arbeit beendet</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>quillo: nothing renamed: the rename history cannot be saved (%1)</source>
        <translation>quillo: nichts umbenannt: der Umbenennungsverlauf kann nicht gespeichert werden (%1)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>quillo: nothing indexed: remembering the text of screenshots for search is turned off in Quillo&apos;s settings</source>
        <translation>quillo: nichts indiziert: das Merken des Texts von Bildschirmfotos für die Suche ist in Quillos Einstellungen ausgeschaltet</translation>
    </message>
</context>
<context>
    <name>BacklogReport</name>
    <message>
        <location filename="../src/cli/BacklogReport.cpp" line="+49"/>
        <source>would rename %1 → %2</source>
        <translation>würde %1 umbenennen → %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>indexed %1</source>
        <translation>%1 indiziert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>skipped %1: already named by Quillo</source>
        <translation>%1 übersprungen: bereits von Quillo benannt</translation>
    </message>
    <message numerus="yes">
        <location line="+24"/>
        <source>%n renamed</source>
        <translation>
            <numerusform>%n umbenannt</numerusform>
            <numerusform>%n umbenannt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n would be renamed</source>
        <translation>
            <numerusform>%n würde umbenannt</numerusform>
            <numerusform>%n würden umbenannt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n indexed</source>
        <translation>
            <numerusform>%n indiziert</numerusform>
            <numerusform>%n indiziert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n already named</source>
        <translation>
            <numerusform>%n bereits benannt</numerusform>
            <numerusform>%n bereits benannt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n failed</source>
        <translation>
            <numerusform>%n fehlgeschlagen</numerusform>
            <numerusform>%n fehlgeschlagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n not screenshots</source>
        <translation>
            <numerusform>%n kein Bildschirmfoto</numerusform>
            <numerusform>%n keine Bildschirmfotos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>%n left as they were (stopped)</source>
        <translation>
            <numerusform>%n unverändert gelassen (abgebrochen)</numerusform>
            <numerusform>%n unverändert gelassen (abgebrochen)</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no files found</source>
        <translation>keine Dateien gefunden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>, </source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>CategoryRuleRow</name>
    <message>
        <location filename="../src/ui/CategoryRuleRow.cpp" line="+21"/>
        <source>Receipts &amp; Invoices</source>
        <translation>Belege &amp; Rechnungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Code &amp; Terminal</source>
        <translation>Code &amp; Terminal</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>UI &amp; Design</source>
        <translation>Oberflächen &amp; Design</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Chats &amp; Docs</source>
        <translation>Chats &amp; Dokumente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Folder name</source>
        <translation>Ordnername</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Extra keywords, comma separated</source>
        <translation>Zusätzliche Stichwörter, durch Kommas getrennt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extra keywords</source>
        <translation>Zusätzliche Stichwörter</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../src/cli/CommandLine.cpp" line="+112"/>
        <source>--jobs needs a number of at least 1</source>
        <translation>--jobs braucht eine Zahl ab 1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--limit needs a number of at least 1</source>
        <translation>--limit braucht eine Zahl ab 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 has no option %2</source>
        <translation>%1 hat keine Option %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 needs at least one file or folder</source>
        <translation>%1 braucht mindestens eine Datei oder einen Ordner</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>search needs at least one word</source>
        <translation>search braucht mindestens ein Wort</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>history takes no files</source>
        <translation>history nimmt keine Dateien</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>undo takes one id, or --last</source>
        <translation>undo nimmt eine Kennung oder --last</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Names every screenshot among the files and folders given, as Quillo names new ones.
  --dry-run    print what would be renamed; change nothing
  --json       print one JSON object per file
  --recursive  also look in subfolders
  --jobs N     read N files at once (default: one per core)
</source>
        <translation>Benennt jedes Bildschirmfoto unter den angegebenen Dateien und Ordnern, wie Quillo neue benennt.
  --dry-run    ausgeben, was umbenannt würde; nichts ändern
  --json       ein JSON-Objekt je Datei ausgeben
  --recursive  auch in Unterordnern suchen
  --jobs N     N Dateien gleichzeitig lesen (Standard: eine je Prozessorkern)
</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lists the renames Quillo remembers, newest first: id, new name, old name,
folder, when, source.
</source>
        <translation>Listet die Umbenennungen, die Quillo sich merkt, die neueste zuerst: Kennung, neuer Name,
alter Name, Ordner, Zeitpunkt, Quelle.
</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Puts a renamed file back under its old name; without an id, the newest.
</source>
        <translation>Gibt einer umbenannten Datei ihren alten Namen zurück; ohne Kennung der neuesten.
</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Reads the screenshots among the files and folders given and keeps their text for search,
without renaming them.
  --json       print one JSON object per file
  --recursive  also look in subfolders
  --jobs N     read N files at once (default: one per core)
</source>
        <translation>Liest die Bildschirmfotos unter den angegebenen Dateien und Ordnern und merkt sich ihren Text für
die Suche, ohne sie umzubenennen.
  --json       ein JSON-Objekt je Datei ausgeben
  --recursive  auch in Unterordnern suchen
  --jobs N     N Dateien gleichzeitig lesen (Standard: eine je Prozessorkern)
</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lists the screenshots that show all the words, best match first: path, date, category and
the line the words are on. Words match by their start, whatever the case or accents.
  --json       print one JSON object per screenshot
  --limit N    show at most N screenshots (default: 20)
</source>
        <translation>Listet die Bildschirmfotos, die alle Wörter zeigen, die besten Treffer zuerst: Pfad, Datum,
Kategorie und die Zeile mit den Wörtern. Wörter passen ab ihrem Anfang, unabhängig von
Groß- und Kleinschreibung und Akzenten.
  --json       ein JSON-Objekt je Bildschirmfoto ausgeben
  --limit N    höchstens N Bildschirmfotos zeigen (Standard: 20)
</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Usage: %1</source>
        <translation>Aufruf: %1</translation>
    </message>
</context>
<context>
    <name>DBusCommandService</name>
    <message>
        <location filename="../src/app/DBusCommandService.cpp" line="+48"/>
        <source>Unknown category or naming source</source>
        <translation>Unbekannte Kategorie oder Benennungsquelle</translation>
    </message>
</context>
<context>
    <name>DBusHistoryWriter</name>
    <message>
        <location filename="../src/cli/DBusHistoryWriter.cpp" line="+31"/>
        <source>The running Quillo did not answer: %1</source>
        <translation>Das laufende Quillo hat nicht geantwortet: %1</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>The running Quillo answered with no record</source>
        <translation>Das laufende Quillo hat ohne Eintrag geantwortet</translation>
    </message>
</context>
<context>
    <name>DBusTakeOverChannel</name>
    <message>
        <location filename="../src/app/DBusTakeOverChannel.cpp" line="+89"/>
        <source>only %1 itself may take over</source>
        <translation>nur %1 selbst darf übernehmen</translation>
    </message>
</context>
<context>
    <name>DesktopSearch</name>
    <message>
        <location filename="../src/desktopsearch/DesktopSearch.cpp" line="+57"/>
        <source>%1, in %2</source>
        <extracomment>A screenshot&apos;s date, then the category it was filed in</extracomment>
        <translation>%1, in %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: %2</source>
        <extracomment>When the screenshot was taken (and its category), then the words on it around the match</extracomment>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>DesktopShell</name>
    <message>
        <location filename="../src/app/DesktopShell.cpp" line="+165"/>
        <source>Quillo Settings</source>
        <translation>Quillo-Einstellungen</translation>
    </message>
</context>
<context>
    <name>DialogPrompts</name>
    <message>
        <location filename="../src/app/DialogPrompts.cpp" line="+12"/>
        <location line="+9"/>
        <source>Quillo</source>
        <translation>Quillo</translation>
    </message>
</context>
<context>
    <name>DraggableThumbnail</name>
    <message>
        <location filename="../src/ui/DraggableThumbnail.cpp" line="+40"/>
        <source>Click for Preview, or drag to attach file</source>
        <translation>Für eine Vorschau klicken oder ziehen, um die Datei anzuhängen</translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <location filename="../src/settings/FolderAccess.cpp" line="+47"/>
        <source>The folder “%1” does not exist.</source>
        <translation>Der Ordner „%1“ existiert nicht.</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>The folder “%1” no longer exists.</source>
        <translation>Der Ordner „%1“ existiert nicht mehr.</translation>
    </message>
</context>
<context>
    <name>FolderDialogs</name>
    <message>
        <location filename="../src/ui/FolderDialogs.cpp" line="+29"/>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Create a folder in “%1” and move the screenshot into it.</source>
        <translation>Einen Ordner in „%1“ anlegen und das Bildschirmfoto dorthin verschieben.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Folder name</source>
        <translation>Ordnername</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Create and Move</source>
        <translation>Anlegen und verschieben</translation>
    </message>
</context>
<context>
    <name>HistoryCommand</name>
    <message>
        <location filename="../src/cli/HistoryCommand.cpp" line="+58"/>
        <location line="+25"/>
        <source>No screenshots renamed yet</source>
        <translation>Noch keine Bildschirmfotos umbenannt</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>%1 starts more than one id; give more of it</source>
        <translation>Mehrere Kennungen beginnen mit %1; bitte mehr davon angeben</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>quillo: %1</source>
        <translation>quillo: %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>quillo: Could not undo the rename: %1</source>
        <translation>quillo: Die Umbenennung konnte nicht rückgängig gemacht werden: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Restored %1</source>
        <translation>%1 wiederhergestellt</translation>
    </message>
</context>
<context>
    <name>KRunnerProvider</name>
    <message>
        <location filename="../src/desktopsearch/KRunnerProvider.cpp" line="+103"/>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Screenshots</source>
        <translation>Bildschirmfotos</translation>
    </message>
</context>
<context>
    <name>LocalModelNamer</name>
    <message>
        <location filename="../src/naming/LocalModelNamer.cpp" line="+181"/>
        <source>A local AI model (%1) is available. Names come from the local model.</source>
        <translation>Ein lokales KI-Modell (%1) ist verfügbar. Die Namen kommen vom lokalen Modell.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No local AI model server is running at %1. Names come from on-device text recognition.</source>
        <translation>Unter %1 läuft kein Server für lokale KI-Modelle. Die Namen kommen aus der Texterkennung auf diesem Gerät.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The model %1 is not installed on the local model server. Names come from on-device text recognition for now.</source>
        <translation>Das Modell %1 ist auf dem lokalen Modellserver nicht installiert. Die Namen kommen vorerst aus der Texterkennung auf diesem Gerät.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The local AI model is unavailable. Names come from on-device text recognition.</source>
        <translation>Das lokale KI-Modell ist nicht verfügbar. Die Namen kommen aus der Texterkennung auf diesem Gerät.</translation>
    </message>
</context>
<context>
    <name>ModelAvailabilityMonitor</name>
    <message>
        <location filename="../src/naming/ModelAvailabilityMonitor.cpp" line="+25"/>
        <source>Looking for a local AI model…</source>
        <translation>Lokales KI-Modell wird gesucht …</translation>
    </message>
</context>
<context>
    <name>NameCommand</name>
    <message>
        <location filename="../src/cli/NameCommand.cpp" line="+110"/>
        <source>quillo: %1</source>
        <translation>quillo: %1</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <location filename="../src/ui/PreviewWindow.cpp" line="+51"/>
        <source>No preview: %1</source>
        <translation>Keine Vorschau: %1</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <location filename="../src/cli/ProgressLine.cpp" line="+30"/>
        <source>about %1 s</source>
        <translation>etwa %1 s</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>about %1 min</source>
        <translation>etwa %1 min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>about %1 min %2 s</source>
        <translation>etwa %1 min %2 s</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>about %1 h</source>
        <translation>etwa %1 h</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>about %1 h %2 min</source>
        <translation>etwa %1 h %2 min</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
</context>
<context>
    <name>RecentRenameRow</name>
    <message>
        <location filename="../src/ui/RecentRenameRow.cpp" line="+61"/>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Undo Rename</source>
        <translation>Umbenennung rückgängig machen</translation>
    </message>
</context>
<context>
    <name>RecognitionLanguages</name>
    <message>
        <location filename="../src/naming/RecognitionLanguages.cpp" line="+67"/>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>text recognition is off</source>
        <translation>ist die Texterkennung aus</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>reading %1</source>
        <translation>wird %1 gelesen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 text recognition needs the package %2; %3 until then.</source>
        <translation>Texterkennung für %1 braucht das Paket %2; bis dahin %3.</translation>
    </message>
</context>
<context>
    <name>RenameCoordinator</name>
    <message>
        <location filename="../src/renaming/RenameCoordinator.cpp" line="+397"/>
        <source>“%1” was not renamed: “%2” is not a name Quillo gives.</source>
        <translation>„%1“ wurde nicht umbenannt: „%2“ ist kein Name, den Quillo vergibt.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>“%1” is not in the folder it was to be renamed in.</source>
        <translation>„%1“ liegt nicht in dem Ordner, in dem es umbenannt werden sollte.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>“%1” is gone.</source>
        <translation>„%1“ ist nicht mehr da.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>“%1” changed while it was named.</source>
        <translation>„%1“ hat sich geändert, während es benannt wurde.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>“%1” is not a screenshot.</source>
        <translation>„%1“ ist kein Bildschirmfoto.</translation>
    </message>
</context>
<context>
    <name>RenamePanelController</name>
    <message>
        <location filename="../src/ui/RenamePanelController.cpp" line="+86"/>
        <source>Screenshot renamed to %1</source>
        <translation>Bildschirmfoto umbenannt in %1</translation>
    </message>
    <message>
        <location line="+282"/>
        <source>Choose where to move “%1”.</source>
        <translation>Wählen Sie, wohin „%1“ verschoben werden soll.</translation>
    </message>
</context>
<context>
    <name>RenamePanelModel</name>
    <message>
        <location filename="../src/ui/RenamePanelModel.cpp" line="+154"/>
        <source>Screenshots</source>
        <translation>Bildschirmfotos</translation>
    </message>
</context>
<context>
    <name>RenamePanelView</name>
    <message>
        <location filename="../src/ui/RenamePanelView.cpp" line="+60"/>
        <location line="+52"/>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <location line="-50"/>
        <source>Move to</source>
        <translation>Verschieben nach</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n screenshots renamed</source>
        <translation>
            <numerusform>%n Bildschirmfoto umbenannt</numerusform>
            <numerusform>%n Bildschirmfotos umbenannt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n renamed</source>
        <translation>
            <numerusform>%n umbenannt</numerusform>
            <numerusform>%n umbenannt</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Renamed and moved</source>
        <translation>Umbenannt und verschoben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Renamed</source>
        <translation>Umbenannt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Updated</source>
        <translation>Aktualisiert</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Restored original name and location</source>
        <translation>Ursprünglicher Name und Ort wiederhergestellt</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+175"/>
        <source>Closes in %1s</source>
        <translation>Schließt in %1 s</translation>
    </message>
    <message>
        <location line="-98"/>
        <location line="+1"/>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location line="+111"/>
        <source>Previous screenshot</source>
        <translation>Vorheriges Bildschirmfoto</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Next screenshot</source>
        <translation>Nächstes Bildschirmfoto</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Preview %1</source>
        <translation>Vorschau von %1</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Subfolders</source>
        <translation>Unterordner</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>New Folder…</source>
        <translation>Neuer Ordner …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Choose Another Folder…</source>
        <translation>Anderen Ordner wählen …</translation>
    </message>
</context>
<context>
    <name>RenamePanelWindow</name>
    <message>
        <location filename="../src/ui/RenamePanelWindow.cpp" line="+68"/>
        <source>Quillo</source>
        <translation>Quillo</translation>
    </message>
    <message>
        <location line="+125"/>
        <source>Move Here</source>
        <translation>Hierher verschieben</translation>
    </message>
</context>
<context>
    <name>ScreenshotToolSettings</name>
    <message>
        <location filename="../src/settings/ScreenshotToolSettings.cpp" line="+25"/>
        <source>default folder</source>
        <translation>Standardordner</translation>
    </message>
</context>
<context>
    <name>SearchCommand</name>
    <message>
        <location filename="../src/cli/SearchCommand.cpp" line="+53"/>
        <source>quillo: %1</source>
        <translation>quillo: %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>search needs a word with a letter or digit in it</source>
        <translation>search braucht ein Wort mit einem Buchstaben oder einer Ziffer</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>no screenshot in the index shows all of these words</source>
        <translation>kein Bildschirmfoto im Index zeigt alle diese Wörter</translation>
    </message>
</context>
<context>
    <name>SettingsPresentation</name>
    <message>
        <location filename="../src/ui/SettingsPresentation.cpp" line="+19"/>
        <source>Not watching</source>
        <translation>Keine Überwachung</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>A custom folder you chose.</source>
        <translation>Ein eigener Ordner, den Sie gewählt haben.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No screenshot tool&apos;s settings were found, so Quillo watches this folder, where GNOME and KDE save screenshots. If yours go elsewhere, choose that folder.</source>
        <translation>Es wurden keine Einstellungen eines Bildschirmfoto-Programms gefunden, daher überwacht Quillo diesen Ordner, in dem GNOME und KDE Bildschirmfotos speichern. Wenn Ihre woanders landen, wählen Sie diesen Ordner.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Where your screenshot tool saves screenshots, read from its settings (Spectacle, Flameshot, or your Pictures/Screenshots folder). Change it there and Quillo follows.</source>
        <translation>Wo Ihr Bildschirmfoto-Programm Bildschirmfotos speichert, aus seinen Einstellungen gelesen (Spectacle, Flameshot oder Ihr Ordner Bilder/Bildschirmfotos). Ändern Sie es dort, und Quillo folgt.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Your screenshot folder, where your desktop saves screenshots unless you changed it. If you save screenshots somewhere else, choose that folder.</source>
        <translation>Ihr Bildschirmfoto-Ordner, in dem Ihre Arbeitsumgebung Bildschirmfotos speichert, sofern Sie es nicht geändert haben. Wenn Sie Bildschirmfotos woanders speichern, wählen Sie diesen Ordner.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Type the server&apos;s address, such as http://127.0.0.1:11434.</source>
        <translation>Geben Sie die Adresse des Servers ein, etwa http://127.0.0.1:11434.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The address must start with http:// or https://.</source>
        <translation>Die Adresse muss mit http:// oder https:// beginnen.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Type the name of a model the server has, such as gemma3:4b.</source>
        <translation>Geben Sie den Namen eines Modells auf dem Server ein, etwa gemma3:4b.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>A folder name cannot contain “/” or “:”.</source>
        <translation>Ein Ordnername darf weder „/“ noch „:“ enthalten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A folder name cannot start with a dot.</source>
        <translation>Ein Ordnername darf nicht mit einem Punkt beginnen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Screenshots are sent to %1 to be named.</source>
        <translation>Bildschirmfotos werden zum Benennen an %1 gesendet.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Screenshots are read and named on this computer. Nothing is uploaded.</source>
        <translation>Bildschirmfotos werden auf diesem Rechner gelesen und benannt. Nichts wird hochgeladen.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>No screenshots are indexed.</source>
        <translation>Keine Bildschirmfotos im Index.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>1 screenshot, %1</source>
        <translation>1 Bildschirmfoto, %1</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%Ln screenshots, %1</source>
        <translation>
            <numerusform>%Ln Bildschirmfoto, %1</numerusform>
            <numerusform>%Ln Bildschirmfotos, %1</numerusform>
        </translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Quillo</source>
        <translation>Quillo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo %1</source>
        <translation>Quillo %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillo %1 (%2)</source>
        <translation>Quillo %1 (%2)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Quillo checks %1 once a day, downloads updates in the background and installs them when you quit. Every update is verified before it installs.</source>
        <translation>Quillo fragt einmal täglich %1 ab, lädt Aktualisierungen im Hintergrund herunter und installiert sie beim Beenden. Jede Aktualisierung wird vor der Installation geprüft.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quillo checks %1 once a day and downloads updates in the background. Every update is verified before it is offered.</source>
        <translation>Quillo fragt einmal täglich %1 ab und lädt Aktualisierungen im Hintergrund herunter. Jede Aktualisierung wird geprüft, bevor sie angeboten wird.</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../src/ui/SettingsWindow.cpp" line="+113"/>
        <source>Quillo Settings</source>
        <translation>Quillo-Einstellungen</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Screenshot Folder</source>
        <translation>Bildschirmfoto-Ordner</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Watching</source>
        <translation>Überwacht</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Quillo needs your permission to rename screenshots in this folder.</source>
        <translation>Quillo braucht Ihre Erlaubnis, um Bildschirmfotos in diesem Ordner umzubenennen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Grant Folder Access…</source>
        <translation>Ordnerzugriff erlauben …</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Choose Custom Folder…</source>
        <translation>Eigenen Ordner wählen …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Use System Default</source>
        <translation>Systemvorgabe verwenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Naming</source>
        <translation>Benennung</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Append date suffix (-YYYY-MM-DD)</source>
        <translation>Datum anhängen (-JJJJ-MM-TT)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Example</source>
        <translation>Beispiel</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Use a local AI model when available</source>
        <translation>Ein lokales KI-Modell verwenden, wenn verfügbar</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Ollama</source>
        <translation>Ollama</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Server API</source>
        <translation>Server-API</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Model server</source>
        <translation>Modellserver</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Folder Routing</source>
        <translation>Ablage in Ordnern</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Route into category subfolders</source>
        <translation>In Unterordner nach Kategorie ablegen</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Restore Default Folders</source>
        <translation>Standardordner wiederherstellen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Subfolders are created inside the screenshot folder the first time a screenshot is routed into them. A switched off category leaves its screenshots in the screenshot folder.</source>
        <translation>Unterordner werden im Bildschirmfoto-Ordner angelegt, sobald zum ersten Mal ein Bildschirmfoto dort abgelegt wird. Eine ausgeschaltete Kategorie lässt ihre Bildschirmfotos im Bildschirmfoto-Ordner.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Remember the text of screenshots for search</source>
        <translation>Text der Bildschirmfotos für die Suche merken</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Clear Search Index</source>
        <translation>Suchindex leeren</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The text never leaves this computer. Clearing the index deletes no screenshot; “quillo index” reads them again.</source>
        <translation>Der Text verlässt diesen Computer nie. Das Leeren des Index löscht kein Bildschirmfoto; „quillo index“ liest sie erneut.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Launch at login</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Updates</source>
        <translation>Aktualisierungen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Automatically check for updates</source>
        <translation>Automatisch nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Check for Updates…</source>
        <translation>Nach Aktualisierungen suchen …</translation>
    </message>
</context>
<context>
    <name>TrayState</name>
    <message>
        <location filename="../src/ui/TrayState.cpp" line="+48"/>
        <location line="+18"/>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>Undo Rename</source>
        <translation>Umbenennung rückgängig machen</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No screenshot holds these words</source>
        <translation>Kein Bildschirmfoto enthält diese Wörter</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The search index cannot be read</source>
        <translation>Der Suchindex kann nicht gelesen werden</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Quillo, paused</source>
        <translation>Quillo, angehalten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo, needs access to the screenshot folder</source>
        <translation>Quillo, braucht Zugriff auf den Bildschirmfoto-Ordner</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo, not renaming: the rename history cannot be saved</source>
        <translation>Quillo, keine Umbenennung: der Umbenennungsverlauf kann nicht gespeichert werden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quillo, not renaming: screenshots cannot be read safely here</source>
        <translation>Quillo, keine Umbenennung: Bildschirmfotos können hier nicht sicher gelesen werden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quillo, naming a screenshot</source>
        <translation>Quillo, benennt ein Bildschirmfoto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo, screenshot renamed</source>
        <translation>Quillo, Bildschirmfoto umbenannt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillo, watching</source>
        <translation>Quillo, überwacht</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Needs access to the screenshot folder</source>
        <translation>Braucht Zugriff auf den Bildschirmfoto-Ordner</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not renaming: the rename history cannot be saved</source>
        <translation>Keine Umbenennung: der Umbenennungsverlauf kann nicht gespeichert werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not renaming: screenshots cannot be read safely on this system</source>
        <translation>Keine Umbenennung: Bildschirmfotos können auf diesem System nicht sicher gelesen werden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Not watching</source>
        <translation>Keine Überwachung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Watching “%1”</source>
        <translation>Überwacht „%1“</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>now</source>
        <translation>gerade eben</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n min ago</source>
        <translation>
            <numerusform>vor %n Min.</numerusform>
            <numerusform>vor %n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n hr ago</source>
        <translation>
            <numerusform>vor %n Std.</numerusform>
            <numerusform>vor %n Std.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>1 day ago</source>
        <translation>vor 1 Tag</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n days ago</source>
        <translation>
            <numerusform>vor %n Tag</numerusform>
            <numerusform>vor %n Tagen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>was %1</source>
        <translation>vorher %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>in %1</source>
        <translation>in %1</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Search screenshots</source>
        <translation>Bildschirmfotos durchsuchen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Grant Folder Access…</source>
        <translation>Ordnerzugriff erlauben …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Resume Watching</source>
        <translation>Überwachung fortsetzen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pause Watching</source>
        <translation>Überwachung anhalten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open Screenshot Folder</source>
        <translation>Bildschirmfoto-Ordner öffnen</translation>
    </message>
    <message>
        <location line="-164"/>
        <source>Recent Renames</source>
        <translation>Letzte Umbenennungen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No screenshots renamed yet</source>
        <translation>Noch keine Bildschirmfotos umbenannt</translation>
    </message>
    <message>
        <location line="+168"/>
        <source>Undo Last Rename</source>
        <translation>Letzte Umbenennung rückgängig machen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Settings…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Check for Updates…</source>
        <translation>Nach Aktualisierungen suchen …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit Quillo</source>
        <translation>Quillo beenden</translation>
    </message>
</context>
<context>
    <name>UndoError</name>
    <message>
        <location filename="../src/renaming/UndoError.cpp" line="+15"/>
        <source>“%1” is no longer where Quillo put it, so it cannot be restored. It may have been moved, renamed or deleted.</source>
        <translation>„%1“ ist nicht mehr dort, wo Quillo es abgelegt hat, und kann daher nicht wiederhergestellt werden. Es wurde vielleicht verschoben, umbenannt oder gelöscht.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>“%1” is no longer where Quillo put it. It may have been moved, renamed or deleted.</source>
        <translation>„%1“ ist nicht mehr dort, wo Quillo es abgelegt hat. Es wurde vielleicht verschoben, umbenannt oder gelöscht.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>“%1” has been changed or replaced since Quillo renamed it, so Quillo leaves it as it is.</source>
        <translation>„%1“ wurde geändert oder ersetzt, seit Quillo es umbenannt hat, daher lässt Quillo es, wie es ist.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>“%1” was already named by Quillo.</source>
        <translation>„%1“ wurde bereits von Quillo benannt.</translation>
    </message>
</context>
<context>
    <name>UpdateDialogs</name>
    <message>
        <location filename="../src/ui/UpdateDialogs.cpp" line="+18"/>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Downloading Quillo %1…</source>
        <translation>Quillo %1 wird heruntergeladen …</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Checking for updates…</source>
        <translation>Es wird nach Aktualisierungen gesucht …</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>You’re up to date</source>
        <translation>Quillo ist auf dem neuesten Stand</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillo %1 is the newest version available.</source>
        <translation>Quillo %1 ist die neueste verfügbare Version.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Could not check for updates</source>
        <translation>Es konnte nicht nach Aktualisierungen gesucht werden</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quillo %1 is ready</source>
        <translation>Quillo %1 ist bereit</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>It has been downloaded and verified, and replaces this version when you quit Quillo.</source>
        <translation>Sie wurde heruntergeladen und geprüft und ersetzt diese Version, wenn Sie Quillo beenden.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quillo %1 is available</source>
        <translation>Quillo %1 ist verfügbar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>It has been downloaded and verified: %1. Use it in place of this copy of Quillo.</source>
        <translation>Sie wurde heruntergeladen und geprüft: %1. Verwenden Sie sie anstelle dieser Kopie von Quillo.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
</context>
<context>
    <name>WatchedFolderRules</name>
    <message>
        <location filename="../src/settings/WatchedFolderRules.cpp" line="+46"/>
        <source>“%1” is a system folder. Renaming files in it could harm the computer, so Quillo does not watch it. Choose a folder of your own, such as Pictures/Screenshots in your home folder.</source>
        <translation>„%1“ ist ein Systemordner. Dateien darin umzubenennen könnte dem Rechner schaden, daher überwacht Quillo ihn nicht. Wählen Sie einen eigenen Ordner, etwa Bilder/Bildschirmfotos in Ihrem persönlichen Ordner.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>“%1” is your home folder itself. Quillo watches it only when you choose it yourself as a custom folder.</source>
        <translation>„%1“ ist Ihr persönlicher Ordner selbst. Quillo überwacht ihn nur, wenn Sie ihn selbst als eigenen Ordner wählen.</translation>
    </message>
</context>
<context>
    <name>XdgAutostart</name>
    <message>
        <location filename="../src/ui/XdgAutostart.cpp" line="+73"/>
        <source>Could not remove %1: %2</source>
        <translation>%1 konnte nicht entfernt werden: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Could not create the folder %1.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/app/main.cpp" line="+112"/>
        <source>print the name Quillo would give each file</source>
        <translation>den Namen ausgeben, den Quillo jeder Datei gäbe</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>rename the screenshots among these files and folders</source>
        <translation>die Bildschirmfotos unter diesen Dateien und Ordnern umbenennen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>list the renames Quillo remembers</source>
        <translation>die Umbenennungen auflisten, die Quillo sich merkt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>put a renamed file back under its old name</source>
        <translation>einer umbenannten Datei ihren alten Namen zurückgeben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>keep the text of these screenshots for search, renaming nothing</source>
        <translation>den Text dieser Bildschirmfotos für die Suche merken, ohne etwas umzubenennen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>list the screenshots that show these words</source>
        <translation>die Bildschirmfotos auflisten, die diese Wörter zeigen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo names new screenshots after what they show, on this computer.

Without arguments it watches your screenshot folder and renames each new screenshot.
</source>
        <translation>Quillo benennt neue Bildschirmfotos nach ihrem Inhalt, auf diesem Rechner.

Ohne Argumente überwacht es Ihren Bildschirmfoto-Ordner und benennt jedes neue Bildschirmfoto um.
</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Run without any interface.</source>
        <translation>Ohne jede Oberfläche laufen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>With name, rename, history, index and search: print JSON for scripts.</source>
        <translation>Mit name, rename, history, index und search: JSON für Skripte ausgeben.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>name, rename, history, undo, index or search; nothing to run Quillo.</source>
        <translation>name, rename, history, undo, index oder search; nichts, um Quillo laufen zu lassen.</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Started with the session: open no window, even without a tray.</source>
        <translation>Mit der Sitzung gestartet: kein Fenster öffnen, auch ohne Systemabschnitt der Kontrollleiste.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>[command ...]</source>
        <translation>[Befehl …]</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>quillo: %1 (see quillo %2 --help)</source>
        <translation>quillo: %1 (siehe quillo %2 --help)</translation>
    </message>
    <message>
        <location line="+106"/>
        <source>quillo: name needs at least one file</source>
        <translation>quillo: name braucht mindestens eine Datei</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>quillo: unknown command %1 (see quillo --help)</source>
        <translation>quillo: unbekannter Befehl %1 (siehe quillo --help)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>quillo: no display found; running without an interface</source>
        <translation>quillo: keine Anzeige gefunden; läuft ohne Oberfläche</translation>
    </message>
</context>
</TS>
