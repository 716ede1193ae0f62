<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AppController</name>
    <message>
        <location filename="../src/app/AppController.cpp" line="+336"/>
        <source>Grant Access</source>
        <translation>Autoriser l&apos;accès</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillo renames new screenshots in this folder and files them into subfolders. Click Grant Access to allow it, or choose the folder you save screenshots to.</source>
        <translation>Quillo renomme les nouvelles captures d&apos;écran de ce dossier et les classe dans des sous-dossiers. Cliquez sur « Autoriser l&apos;accès » pour le permettre, ou choisissez le dossier où vous enregistrez vos captures d&apos;écran.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Watch Folder</source>
        <translation>Surveiller le dossier</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Choose the folder Quillo watches for new screenshots.</source>
        <translation>Choisissez le dossier que Quillo surveille pour les nouvelles captures d&apos;écran.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Quillo cannot watch “%1”</source>
        <translation>Quillo ne peut pas surveiller « %1 »</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Could not keep access to “%1”</source>
        <translation>Impossible de conserver l&apos;accès à « %1 »</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Could not undo the rename</source>
        <translation>Impossible d&apos;annuler le renommage</translation>
    </message>
    <message>
        <location line="+21"/>
        <location line="+12"/>
        <source>Could not show the file</source>
        <translation>Impossible d&apos;afficher le fichier</translation>
    </message>
    <message>
        <location line="-7"/>
        <location line="+9"/>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>“%1” is no longer there.</source>
        <translation>« %1 » n’est plus là.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Also clear the search index?</source>
        <translation>Vider aussi l’index de recherche ?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillo no longer keeps the text of new screenshots. The text of those it already read stays searchable until you clear it. Your screenshots stay where they are.</source>
        <translation>Quillo ne garde plus le texte des nouvelles captures d’écran. Le texte de celles déjà lues reste cherchable jusqu’à ce que vous vidiez l’index. Vos captures d’écran restent où elles sont.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Clear Search Index</source>
        <translation>Vider l’index de recherche</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Could not open the folder</source>
        <translation>Impossible d&apos;ouvrir le dossier</translation>
    </message>
</context>
<context>
    <name>Appcast</name>
    <message>
        <location filename="../src/update/Appcast.cpp" line="+79"/>
        <source>The update feed is not valid XML (line %1: %2).</source>
        <translation>Le flux des mises à jour n&apos;est pas du XML valide (ligne %1 : %2).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The update feed is not an RSS feed.</source>
        <translation>Le flux des mises à jour n&apos;est pas un flux RSS.</translation>
    </message>
</context>
<context>
    <name>AppcastUpdater</name>
    <message>
        <location filename="../src/update/AppcastUpdater.cpp" line="+82"/>
        <source>The update feed is larger than 1 MiB.</source>
        <translation>Le flux des mises à jour dépasse 1 Mio.</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Quillo %1 is offered without a signature, so it was not downloaded.</source>
        <translation>Quillo %1 est proposé sans signature ; il n&apos;a donc pas été téléchargé.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quillo %1 is offered without a usable size, so it was not downloaded.</source>
        <translation>Quillo %1 est proposé sans taille utilisable ; il n&apos;a donc pas été téléchargé.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillo %1 is not offered over HTTPS, so it was not downloaded.</source>
        <translation>Quillo %1 n&apos;est pas proposé en HTTPS ; il n&apos;a donc pas été téléchargé.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Could not create the download folder %1.</source>
        <translation>Impossible de créer le dossier de téléchargement %1.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Could not save the update in %1: %2</source>
        <translation>Impossible d&apos;enregistrer la mise à jour dans %1 : %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+16"/>
        <source>The download of Quillo %1 is larger than the %2 bytes the feed states, so it was deleted.</source>
        <translation>Le téléchargement de Quillo %1 dépasse les %2 octets annoncés par le flux ; il a donc été supprimé.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Could not save the update: %1</source>
        <translation>Impossible d&apos;enregistrer la mise à jour : %1</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The download of %1 ended after %2 of %3 bytes.</source>
        <translation>Le téléchargement de %1 s&apos;est arrêté après %2 octets sur %3.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The signature of %1 does not match the download, so it was deleted and nothing was installed.</source>
        <translation>La signature de %1 ne correspond pas au téléchargement ; il a donc été supprimé et rien n&apos;a été installé.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Could not save the update as %1: %2</source>
        <translation>Impossible d&apos;enregistrer la mise à jour sous %1 : %2</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The update server %1 stopped answering for %2 seconds.</source>
        <translation>Le serveur de mises à jour %1 a cessé de répondre pendant %2 secondes.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Could not reach the update server %1: %2</source>
        <translation>Impossible de joindre le serveur de mises à jour %1 : %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The update server %1 answered with HTTP status %2.</source>
        <translation>Le serveur de mises à jour %1 a répondu avec le statut HTTP %2.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>No verified update is ready.</source>
        <translation>Aucune mise à jour vérifiée n&apos;est prête.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Could not read the update %1: %2</source>
        <translation>Impossible de lire la mise à jour %1 : %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The downloaded update no longer matches its signature; nothing was installed.</source>
        <translation>La mise à jour téléchargée ne correspond plus à sa signature ; rien n&apos;a été installé.</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+12"/>
        <source>Could not replace %1: %2</source>
        <translation>Impossible de remplacer %1 : %2</translation>
    </message>
</context>
<context>
    <name>BacklogCommand</name>
    <message>
        <location filename="../src/cli/BacklogCommand.cpp" line="+67"/>
        <source>No such file or folder</source>
        <translation>Fichier ou dossier introuvable</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>its name is not valid UTF-8, so Quillo cannot rename it; rename it by hand</source>
        <translation>son nom n&apos;est pas en UTF-8 valide, Quillo ne peut donc pas le renommer ; renommez-le à la main</translation>
    </message>
    <message>
        <location line="+84"/>
        <source>quillo: stopping after the files in hand</source>
        <translation>quillo : arrêt après les fichiers en cours</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>quillo: nothing renamed: the rename history cannot be saved (%1)</source>
        <translation>quillo : rien n&apos;a été renommé : l&apos;historique des renommages ne peut pas être enregistré (%1)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>quillo: nothing indexed: remembering the text of screenshots for search is turned off in Quillo&apos;s settings</source>
        <translation>quillo : rien n&apos;a été indexé : la mémorisation du texte des captures d&apos;écran pour la recherche est désactivée dans les paramètres de Quillo</translation>
    </message>
</context>
<context>
    <name>BacklogReport</name>
    <message>
        <location filename="../src/cli/BacklogReport.cpp" line="+49"/>
        <source>would rename %1 → %2</source>
        <translation>renommerait %1 → %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>indexed %1</source>
        <translation>%1 indexé</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>skipped %1: already named by Quillo</source>
        <translation>%1 ignoré : déjà nommé par Quillo</translation>
    </message>
    <message numerus="yes">
        <location line="+24"/>
        <source>%n renamed</source>
        <translation>
            <numerusform>%n renommé</numerusform>
            <numerusform>%n renommés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n would be renamed</source>
        <translation>
            <numerusform>%n serait renommé</numerusform>
            <numerusform>%n seraient renommés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n indexed</source>
        <translation>
            <numerusform>%n indexé</numerusform>
            <numerusform>%n indexés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n already named</source>
        <translation>
            <numerusform>%n déjà nommé</numerusform>
            <numerusform>%n déjà nommés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n failed</source>
        <translation>
            <numerusform>%n en échec</numerusform>
            <numerusform>%n en échec</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n not screenshots</source>
        <translation>
            <numerusform>%n n&apos;est pas une capture d&apos;écran</numerusform>
            <numerusform>%n ne sont pas des captures d&apos;écran</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>%n left as they were (stopped)</source>
        <translation>
            <numerusform>%n laissé tel quel (arrêté)</numerusform>
            <numerusform>%n laissés tels quels (arrêté)</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no files found</source>
        <translation>aucun fichier trouvé</translation>
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
        <translation>Reçus et factures</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Code &amp; Terminal</source>
        <translation>Code et terminal</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>UI &amp; Design</source>
        <translation>Interfaces et design</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Chats &amp; Docs</source>
        <translation>Discussions et documents</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Other</source>
        <translation>Autres</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Folder name</source>
        <translation>Nom du dossier</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Extra keywords, comma separated</source>
        <translation>Mots-clés supplémentaires, séparés par des virgules</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Extra keywords</source>
        <translation>Mots-clés supplémentaires</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../src/cli/CommandLine.cpp" line="+112"/>
        <source>--jobs needs a number of at least 1</source>
        <translation>--jobs attend un nombre supérieur ou égal à 1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--limit needs a number of at least 1</source>
        <translation>--limit attend un nombre supérieur ou égal à 1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 has no option %2</source>
        <translation>%1 n&apos;a pas d&apos;option %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 needs at least one file or folder</source>
        <translation>%1 attend au moins un fichier ou un dossier</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>search needs at least one word</source>
        <translation>search attend au moins un mot</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>history takes no files</source>
        <translation>history n&apos;accepte pas de fichiers</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>undo takes one id, or --last</source>
        <translation>undo accepte un identifiant, ou --last</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Names every screenshot among the files and folders given, as Quillo names new ones.
  --dry-run    print what would be renamed; change nothing
  --json       print one JSON object per file
  --recursive  also look in subfolders
  --jobs N     read N files at once (default: one per core)
</source>
        <translation>Nomme chaque capture d&apos;écran parmi les fichiers et dossiers donnés, comme Quillo nomme les nouvelles.
  --dry-run    afficher ce qui serait renommé ; ne rien modifier
  --json       afficher un objet JSON par fichier
  --recursive  chercher aussi dans les sous-dossiers
  --jobs N     lire N fichiers à la fois (par défaut : un par cœur)
</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lists the renames Quillo remembers, newest first: id, new name, old name,
folder, when, source.
</source>
        <translation>Liste les renommages dont Quillo se souvient, du plus récent au plus ancien : identifiant,
nouveau nom, ancien nom, dossier, date, source.
</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Puts a renamed file back under its old name; without an id, the newest.
</source>
        <translation>Redonne son ancien nom à un fichier renommé ; sans identifiant, au plus récent.
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
        <translation>Lit les captures d&apos;écran parmi les fichiers et dossiers donnés et garde leur texte pour la
recherche, sans les renommer.
  --json       afficher un objet JSON par fichier
  --recursive  chercher aussi dans les sous-dossiers
  --jobs N     lire N fichiers à la fois (par défaut : un par cœur)
</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Lists the screenshots that show all the words, best match first: path, date, category and
the line the words are on. Words match by their start, whatever the case or accents.
  --json       print one JSON object per screenshot
  --limit N    show at most N screenshots (default: 20)
</source>
        <translation>Liste les captures d&apos;écran qui montrent tous les mots, la meilleure correspondance d&apos;abord :
chemin, date, catégorie et la ligne où figurent les mots. Les mots correspondent par leur début,
sans tenir compte de la casse ni des accents.
  --json       afficher un objet JSON par capture d&apos;écran
  --limit N    afficher au plus N captures d&apos;écran (par défaut : 20)
</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Usage: %1</source>
        <translation>Utilisation : %1</translation>
    </message>
</context>
<context>
    <name>DBusCommandService</name>
    <message>
        <location filename="../src/app/DBusCommandService.cpp" line="+48"/>
        <source>Unknown category or naming source</source>
        <translation>Catégorie ou source de nommage inconnue</translation>
    </message>
</context>
<context>
    <name>DBusHistoryWriter</name>
    <message>
        <location filename="../src/cli/DBusHistoryWriter.cpp" line="+31"/>
        <source>The running Quillo did not answer: %1</source>
        <translation>Le Quillo en cours d&apos;exécution n&apos;a pas répondu : %1</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>The running Quillo answered with no record</source>
        <translation>Le Quillo en cours d&apos;exécution a répondu sans enregistrement</translation>
    </message>
</context>
<context>
    <name>DBusTakeOverChannel</name>
    <message>
        <location filename="../src/app/DBusTakeOverChannel.cpp" line="+89"/>
        <source>only %1 itself may take over</source>
        <translation>seul %1 lui-même peut prendre le relais</translation>
    </message>
</context>
<context>
    <name>DesktopSearch</name>
    <message>
        <location filename="../src/desktopsearch/DesktopSearch.cpp" line="+57"/>
        <source>%1, in %2</source>
        <extracomment>A screenshot&apos;s date, then the category it was filed in</extracomment>
        <translation>%1, dans %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: %2</source>
        <extracomment>When the screenshot was taken (and its category), then the words on it around the match</extracomment>
        <translation>%1 : %2</translation>
    </message>
</context>
<context>
    <name>DesktopShell</name>
    <message>
        <location filename="../src/app/DesktopShell.cpp" line="+165"/>
        <source>Quillo Settings</source>
        <translation>Paramètres de Quillo</translation>
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
        <translation>Cliquez pour un aperçu, ou faites glisser pour joindre le fichier</translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <location filename="../src/settings/FolderAccess.cpp" line="+47"/>
        <source>The folder “%1” does not exist.</source>
        <translation>Le dossier « %1 » n’existe pas.</translation>
    </message>
    <message>
        <location line="+71"/>
        <source>The folder “%1” no longer exists.</source>
        <translation>Le dossier « %1 » n’existe plus.</translation>
    </message>
</context>
<context>
    <name>FolderDialogs</name>
    <message>
        <location filename="../src/ui/FolderDialogs.cpp" line="+29"/>
        <source>New Folder</source>
        <translation>Nouveau dossier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Create a folder in “%1” and move the screenshot into it.</source>
        <translation>Créer un dossier dans « %1 » et y déplacer la capture d&apos;écran.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Folder name</source>
        <translation>Nom du dossier</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Create and Move</source>
        <translation>Créer et déplacer</translation>
    </message>
</context>
<context>
    <name>HistoryCommand</name>
    <message>
        <location filename="../src/cli/HistoryCommand.cpp" line="+58"/>
        <location line="+25"/>
        <source>No screenshots renamed yet</source>
        <translation>Aucune capture d&apos;écran renommée pour l&apos;instant</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>%1 starts more than one id; give more of it</source>
        <translation>Plusieurs identifiants commencent par %1 ; donnez-en davantage</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>quillo: %1</source>
        <translation>quillo : %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>quillo: Could not undo the rename: %1</source>
        <translation>quillo : Impossible d&apos;annuler le renommage : %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Restored %1</source>
        <translation>%1 restauré</translation>
    </message>
</context>
<context>
    <name>KRunnerProvider</name>
    <message>
        <location filename="../src/desktopsearch/KRunnerProvider.cpp" line="+103"/>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Screenshots</source>
        <translation>Captures d&apos;écran</translation>
    </message>
</context>
<context>
    <name>LocalModelNamer</name>
    <message>
        <location filename="../src/naming/LocalModelNamer.cpp" line="+181"/>
        <source>A local AI model (%1) is available. Names come from the local model.</source>
        <translation>Un modèle d’IA local (%1) est disponible. Les noms viennent du modèle local.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No local AI model server is running at %1. Names come from on-device text recognition.</source>
        <translation>Aucun serveur de modèles d’IA locaux ne fonctionne à %1. Les noms viennent de la reconnaissance de texte sur cet appareil.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The model %1 is not installed on the local model server. Names come from on-device text recognition for now.</source>
        <translation>Le modèle %1 n’est pas installé sur le serveur de modèles local. Les noms viennent pour l’instant de la reconnaissance de texte sur cet appareil.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The local AI model is unavailable. Names come from on-device text recognition.</source>
        <translation>Le modèle d’IA local n’est pas disponible. Les noms viennent de la reconnaissance de texte sur cet appareil.</translation>
    </message>
</context>
<context>
    <name>ModelAvailabilityMonitor</name>
    <message>
        <location filename="../src/naming/ModelAvailabilityMonitor.cpp" line="+25"/>
        <source>Looking for a local AI model…</source>
        <translation>Recherche d’un modèle d’IA local…</translation>
    </message>
</context>
<context>
    <name>NameCommand</name>
    <message>
        <location filename="../src/cli/NameCommand.cpp" line="+110"/>
        <source>quillo: %1</source>
        <translation>quillo : %1</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <location filename="../src/ui/PreviewWindow.cpp" line="+51"/>
        <source>No preview: %1</source>
        <translation>Pas d&apos;aperçu : %1</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <location filename="../src/cli/ProgressLine.cpp" line="+30"/>
        <source>about %1 s</source>
        <translation>environ %1 s</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>about %1 min</source>
        <translation>environ %1 min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>about %1 min %2 s</source>
        <translation>environ %1 min %2 s</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>about %1 h</source>
        <translation>environ %1 h</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>about %1 h %2 min</source>
        <translation>environ %1 h %2 min</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 left</source>
        <translation>%1 restantes</translation>
    </message>
</context>
<context>
    <name>RecentRenameRow</name>
    <message>
        <location filename="../src/ui/RecentRenameRow.cpp" line="+61"/>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Undo Rename</source>
        <translation>Annuler le renommage</translation>
    </message>
</context>
<context>
    <name>RecognitionLanguages</name>
    <message>
        <location filename="../src/naming/RecognitionLanguages.cpp" line="+67"/>
        <source>English</source>
        <translation>anglais</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>text recognition is off</source>
        <translation>la reconnaissance de texte est désactivée</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>reading %1</source>
        <translation>lecture en %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 text recognition needs the package %2; %3 until then.</source>
        <translation>La reconnaissance de texte en %1 nécessite le paquet %2 ; en attendant, %3.</translation>
    </message>
</context>
<context>
    <name>RenameCoordinator</name>
    <message>
        <location filename="../src/renaming/RenameCoordinator.cpp" line="+397"/>
        <source>“%1” was not renamed: “%2” is not a name Quillo gives.</source>
        <translation>« %1 » n’a pas été renommé : « %2 » n’est pas un nom que Quillo donne.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>“%1” is not in the folder it was to be renamed in.</source>
        <translation>« %1 » n’est pas dans le dossier où il devait être renommé.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>“%1” is gone.</source>
        <translation>« %1 » a disparu.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>“%1” changed while it was named.</source>
        <translation>« %1 » a changé pendant son nommage.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>“%1” is not a screenshot.</source>
        <translation>« %1 » n’est pas une capture d’écran.</translation>
    </message>
</context>
<context>
    <name>RenamePanelController</name>
    <message>
        <location filename="../src/ui/RenamePanelController.cpp" line="+86"/>
        <source>Screenshot renamed to %1</source>
        <translation>Capture d&apos;écran renommée en %1</translation>
    </message>
    <message>
        <location line="+282"/>
        <source>Choose where to move “%1”.</source>
        <translation>Choisissez où déplacer « %1 ».</translation>
    </message>
</context>
<context>
    <name>RenamePanelModel</name>
    <message>
        <location filename="../src/ui/RenamePanelModel.cpp" line="+154"/>
        <source>Screenshots</source>
        <translation>Captures d&apos;écran</translation>
    </message>
</context>
<context>
    <name>RenamePanelView</name>
    <message>
        <location filename="../src/ui/RenamePanelView.cpp" line="+60"/>
        <location line="+52"/>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <location line="-50"/>
        <source>Move to</source>
        <translation>Déplacer vers</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%n screenshots renamed</source>
        <translation>
            <numerusform>%n capture d&apos;écran renommée</numerusform>
            <numerusform>%n captures d&apos;écran renommées</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n renamed</source>
        <translation>
            <numerusform>%n renommé</numerusform>
            <numerusform>%n renommés</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Renamed and moved</source>
        <translation>Renommée et déplacée</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Renamed</source>
        <translation>Renommée</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Updated</source>
        <translation>Mise à jour</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Restored original name and location</source>
        <translation>Nom et emplacement d&apos;origine rétablis</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Paused</source>
        <translation>En pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+175"/>
        <source>Closes in %1s</source>
        <translation>Se ferme dans %1 s</translation>
    </message>
    <message>
        <location line="-98"/>
        <location line="+1"/>
        <source>Dismiss</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <location line="+111"/>
        <source>Previous screenshot</source>
        <translation>Capture d&apos;écran précédente</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Next screenshot</source>
        <translation>Capture d&apos;écran suivante</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>File name</source>
        <translation>Nom du fichier</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Preview %1</source>
        <translation>Aperçu de %1</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Subfolders</source>
        <translation>Sous-dossiers</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>New Folder…</source>
        <translation>Nouveau dossier…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Choose Another Folder…</source>
        <translation>Choisir un autre dossier…</translation>
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
        <translation>Déplacer ici</translation>
    </message>
</context>
<context>
    <name>ScreenshotToolSettings</name>
    <message>
        <location filename="../src/settings/ScreenshotToolSettings.cpp" line="+25"/>
        <source>default folder</source>
        <translation>dossier par défaut</translation>
    </message>
</context>
<context>
    <name>SearchCommand</name>
    <message>
        <location filename="../src/cli/SearchCommand.cpp" line="+53"/>
        <source>quillo: %1</source>
        <translation>quillo : %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>search needs a word with a letter or digit in it</source>
        <translation>search attend un mot contenant une lettre ou un chiffre</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>no screenshot in the index shows all of these words</source>
        <translation>aucune capture d&apos;écran de l&apos;index ne montre tous ces mots</translation>
    </message>
</context>
<context>
    <name>SettingsPresentation</name>
    <message>
        <location filename="../src/ui/SettingsPresentation.cpp" line="+19"/>
        <source>Not watching</source>
        <translation>Aucune surveillance</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>A custom folder you chose.</source>
        <translation>Un dossier personnalisé que vous avez choisi.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No screenshot tool&apos;s settings were found, so Quillo watches this folder, where GNOME and KDE save screenshots. If yours go elsewhere, choose that folder.</source>
        <translation>Aucun réglage d&apos;outil de capture d&apos;écran n&apos;a été trouvé, Quillo surveille donc ce dossier, où GNOME et KDE enregistrent les captures d&apos;écran. Si les vôtres vont ailleurs, choisissez ce dossier.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Where your screenshot tool saves screenshots, read from its settings (Spectacle, Flameshot, or your Pictures/Screenshots folder). Change it there and Quillo follows.</source>
        <translation>L&apos;endroit où votre outil de capture enregistre les captures d&apos;écran, lu dans ses réglages (Spectacle, Flameshot, ou votre dossier Images/Captures d&apos;écran). Modifiez-le là-bas et Quillo suit.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Your screenshot folder, where your desktop saves screenshots unless you changed it. If you save screenshots somewhere else, choose that folder.</source>
        <translation>Votre dossier de captures d&apos;écran, où votre bureau les enregistre sauf si vous l&apos;avez changé. Si vous enregistrez vos captures d&apos;écran ailleurs, choisissez ce dossier.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Type the server&apos;s address, such as http://127.0.0.1:11434.</source>
        <translation>Saisissez l&apos;adresse du serveur, par exemple http://127.0.0.1:11434.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The address must start with http:// or https://.</source>
        <translation>L&apos;adresse doit commencer par http:// ou https://.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Type the name of a model the server has, such as gemma3:4b.</source>
        <translation>Saisissez le nom d&apos;un modèle présent sur le serveur, par exemple gemma3:4b.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>A folder name cannot contain “/” or “:”.</source>
        <translation>Un nom de dossier ne peut pas contenir « / » ni « : ».</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A folder name cannot start with a dot.</source>
        <translation>Un nom de dossier ne peut pas commencer par un point.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Screenshots are sent to %1 to be named.</source>
        <translation>Les captures d&apos;écran sont envoyées à %1 pour être nommées.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Screenshots are read and named on this computer. Nothing is uploaded.</source>
        <translation>Les captures d&apos;écran sont lues et nommées sur cet ordinateur. Rien n&apos;est envoyé.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>No screenshots are indexed.</source>
        <translation>Aucune capture d’écran dans l’index.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>1 screenshot, %1</source>
        <translation>1 capture d’écran, %1</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%Ln screenshots, %1</source>
        <translation>
            <numerusform>%Ln capture d’écran, %1</numerusform>
            <numerusform>%Ln captures d’écran, %1</numerusform>
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
        <translation>Quillo consulte %1 une fois par jour, télécharge les mises à jour en arrière-plan et les installe lorsque vous quittez. Chaque mise à jour est vérifiée avant d&apos;être installée.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quillo checks %1 once a day and downloads updates in the background. Every update is verified before it is offered.</source>
        <translation>Quillo consulte %1 une fois par jour et télécharge les mises à jour en arrière-plan. Chaque mise à jour est vérifiée avant d&apos;être proposée.</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <location filename="../src/ui/SettingsWindow.cpp" line="+113"/>
        <source>Quillo Settings</source>
        <translation>Paramètres de Quillo</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Screenshot Folder</source>
        <translation>Dossier des captures d&apos;écran</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Watching</source>
        <translation>Surveillé</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Quillo needs your permission to rename screenshots in this folder.</source>
        <translation>Quillo a besoin de votre autorisation pour renommer les captures d&apos;écran de ce dossier.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Grant Folder Access…</source>
        <translation>Autoriser l&apos;accès au dossier…</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Choose Custom Folder…</source>
        <translation>Choisir un dossier personnalisé…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Use System Default</source>
        <translation>Utiliser la valeur du système</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Naming</source>
        <translation>Nommage</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Append date suffix (-YYYY-MM-DD)</source>
        <translation>Ajouter la date (-AAAA-MM-JJ)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Example</source>
        <translation>Exemple</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Use a local AI model when available</source>
        <translation>Utiliser un modèle d’IA local si disponible</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Ollama</source>
        <translation>Ollama</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Server API</source>
        <translation>API du serveur</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Model server</source>
        <translation>Serveur de modèles</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Model</source>
        <translation>Modèle</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Folder Routing</source>
        <translation>Classement en dossiers</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Route into category subfolders</source>
        <translation>Classer dans des sous-dossiers par catégorie</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Restore Default Folders</source>
        <translation>Rétablir les dossiers par défaut</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Subfolders are created inside the screenshot folder the first time a screenshot is routed into them. A switched off category leaves its screenshots in the screenshot folder.</source>
        <translation>Les sous-dossiers sont créés dans le dossier des captures d&apos;écran la première fois qu&apos;une capture y est classée. Une catégorie désactivée laisse ses captures d&apos;écran dans le dossier des captures d&apos;écran.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Search</source>
        <translation>Recherche</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Remember the text of screenshots for search</source>
        <translation>Retenir le texte des captures d’écran pour la recherche</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Clear Search Index</source>
        <translation>Vider l’index de recherche</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The text never leaves this computer. Clearing the index deletes no screenshot; “quillo index” reads them again.</source>
        <translation>Le texte ne quitte jamais cet ordinateur. Vider l’index ne supprime aucune capture d’écran ; « quillo index » les relit.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Launch at login</source>
        <translation>Lancer à la connexion</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Updates</source>
        <translation>Mises à jour</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Automatically check for updates</source>
        <translation>Rechercher automatiquement les mises à jour</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Check for Updates…</source>
        <translation>Rechercher des mises à jour…</translation>
    </message>
</context>
<context>
    <name>TrayState</name>
    <message>
        <location filename="../src/ui/TrayState.cpp" line="+48"/>
        <location line="+18"/>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>Undo Rename</source>
        <translation>Annuler le renommage</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Search Results</source>
        <translation>Résultats de la recherche</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No screenshot holds these words</source>
        <translation>Aucune capture d’écran ne contient ces mots</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The search index cannot be read</source>
        <translation>L’index de recherche ne peut pas être lu</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Quillo, paused</source>
        <translation>Quillo, en pause</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo, needs access to the screenshot folder</source>
        <translation>Quillo, a besoin d&apos;accéder au dossier des captures d&apos;écran</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo, not renaming: the rename history cannot be saved</source>
        <translation>Quillo, pas de renommage : l&apos;historique des renommages ne peut pas être enregistré</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quillo, not renaming: screenshots cannot be read safely here</source>
        <translation>Quillo, pas de renommage : les captures d&apos;écran ne peuvent pas être lues en toute sécurité ici</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quillo, naming a screenshot</source>
        <translation>Quillo, nomme une capture d&apos;écran</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo, screenshot renamed</source>
        <translation>Quillo, capture d&apos;écran renommée</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillo, watching</source>
        <translation>Quillo, surveille</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Paused</source>
        <translation>En pause</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Needs access to the screenshot folder</source>
        <translation>A besoin d&apos;accéder au dossier des captures d&apos;écran</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not renaming: the rename history cannot be saved</source>
        <translation>Pas de renommage : l&apos;historique des renommages ne peut pas être enregistré</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not renaming: screenshots cannot be read safely on this system</source>
        <translation>Pas de renommage : les captures d&apos;écran ne peuvent pas être lues en toute sécurité sur ce système</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Not watching</source>
        <translation>Aucune surveillance</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Watching “%1”</source>
        <translation>Surveille « %1 »</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>now</source>
        <translation>à l&apos;instant</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n min ago</source>
        <translation>
            <numerusform>il y a %n min</numerusform>
            <numerusform>il y a %n min</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n hr ago</source>
        <translation>
            <numerusform>il y a %n h</numerusform>
            <numerusform>il y a %n h</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>1 day ago</source>
        <translation>il y a 1 jour</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n days ago</source>
        <translation>
            <numerusform>il y a %n jour</numerusform>
            <numerusform>il y a %n jours</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>was %1</source>
        <translation>auparavant %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>in %1</source>
        <translation>dans %1</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Search screenshots</source>
        <translation>Rechercher dans les captures d’écran</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Grant Folder Access…</source>
        <translation>Autoriser l&apos;accès au dossier…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Resume Watching</source>
        <translation>Reprendre la surveillance</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pause Watching</source>
        <translation>Suspendre la surveillance</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open Screenshot Folder</source>
        <translation>Ouvrir le dossier des captures d&apos;écran</translation>
    </message>
    <message>
        <location line="-164"/>
        <source>Recent Renames</source>
        <translation>Renommages récents</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No screenshots renamed yet</source>
        <translation>Aucune capture d&apos;écran renommée pour l&apos;instant</translation>
    </message>
    <message>
        <location line="+168"/>
        <source>Undo Last Rename</source>
        <translation>Annuler le dernier renommage</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Settings…</source>
        <translation>Paramètres…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Check for Updates…</source>
        <translation>Rechercher des mises à jour…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit Quillo</source>
        <translation>Quitter Quillo</translation>
    </message>
</context>
<context>
    <name>UndoError</name>
    <message>
        <location filename="../src/renaming/UndoError.cpp" line="+15"/>
        <source>“%1” is no longer where Quillo put it, so it cannot be restored. It may have been moved, renamed or deleted.</source>
        <translation>« %1 » n’est plus là où Quillo l’a placé et ne peut donc pas être restauré. Il a peut-être été déplacé, renommé ou supprimé.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>“%1” is no longer where Quillo put it. It may have been moved, renamed or deleted.</source>
        <translation>« %1 » n’est plus là où Quillo l’a placé. Il a peut-être été déplacé, renommé ou supprimé.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>“%1” has been changed or replaced since Quillo renamed it, so Quillo leaves it as it is.</source>
        <translation>« %1 » a été modifié ou remplacé depuis que Quillo l’a renommé, Quillo le laisse donc tel quel.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>“%1” was already named by Quillo.</source>
        <translation>« %1 » a déjà été nommé par Quillo.</translation>
    </message>
</context>
<context>
    <name>UpdateDialogs</name>
    <message>
        <location filename="../src/ui/UpdateDialogs.cpp" line="+18"/>
        <source>Software Update</source>
        <translation>Mise à jour du logiciel</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Downloading Quillo %1…</source>
        <translation>Téléchargement de Quillo %1…</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Checking for updates…</source>
        <translation>Recherche de mises à jour…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>You’re up to date</source>
        <translation>Quillo est à jour</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillo %1 is the newest version available.</source>
        <translation>Quillo %1 est la version la plus récente disponible.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Could not check for updates</source>
        <translation>Impossible de rechercher des mises à jour</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quillo %1 is ready</source>
        <translation>Quillo %1 est prêt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>It has been downloaded and verified, and replaces this version when you quit Quillo.</source>
        <translation>Elle a été téléchargée et vérifiée, et remplace cette version lorsque vous quittez Quillo.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quillo %1 is available</source>
        <translation>Quillo %1 est disponible</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>It has been downloaded and verified: %1. Use it in place of this copy of Quillo.</source>
        <translation>Elle a été téléchargée et vérifiée : %1. Utilisez-la à la place de cette copie de Quillo.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
</context>
<context>
    <name>WatchedFolderRules</name>
    <message>
        <location filename="../src/settings/WatchedFolderRules.cpp" line="+46"/>
        <source>“%1” is a system folder. Renaming files in it could harm the computer, so Quillo does not watch it. Choose a folder of your own, such as Pictures/Screenshots in your home folder.</source>
        <translation>« %1 » est un dossier système. Y renommer des fichiers pourrait endommager l’ordinateur, Quillo ne le surveille donc pas. Choisissez un dossier à vous, comme Images/Captures d’écran dans votre dossier personnel.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>“%1” is your home folder itself. Quillo watches it only when you choose it yourself as a custom folder.</source>
        <translation>« %1 » est votre dossier personnel lui-même. Quillo ne le surveille que si vous le choisissez vous-même comme dossier personnalisé.</translation>
    </message>
</context>
<context>
    <name>XdgAutostart</name>
    <message>
        <location filename="../src/ui/XdgAutostart.cpp" line="+73"/>
        <source>Could not remove %1: %2</source>
        <translation>Impossible de supprimer %1 : %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Could not create the folder %1.</source>
        <translation>Impossible de créer le dossier %1.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Could not write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/app/main.cpp" line="+112"/>
        <source>print the name Quillo would give each file</source>
        <translation>afficher le nom que Quillo donnerait à chaque fichier</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>rename the screenshots among these files and folders</source>
        <translation>renommer les captures d&apos;écran parmi ces fichiers et dossiers</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>list the renames Quillo remembers</source>
        <translation>lister les renommages dont Quillo se souvient</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>put a renamed file back under its old name</source>
        <translation>redonner son ancien nom à un fichier renommé</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>keep the text of these screenshots for search, renaming nothing</source>
        <translation>garder le texte de ces captures d&apos;écran pour la recherche, sans rien renommer</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>list the screenshots that show these words</source>
        <translation>lister les captures d&apos;écran qui montrent ces mots</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quillo names new screenshots after what they show, on this computer.

Without arguments it watches your screenshot folder and renames each new screenshot.
</source>
        <translation>Quillo nomme les nouvelles captures d&apos;écran d&apos;après ce qu&apos;elles montrent, sur cet ordinateur.

Sans argument, il surveille votre dossier de captures d&apos;écran et renomme chaque nouvelle capture.
</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Run without any interface.</source>
        <translation>Fonctionner sans aucune interface.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>With name, rename, history, index and search: print JSON for scripts.</source>
        <translation>Avec name, rename, history, index et search : afficher du JSON pour les scripts.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>name, rename, history, undo, index or search; nothing to run Quillo.</source>
        <translation>name, rename, history, undo, index ou search ; rien pour lancer Quillo.</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Started with the session: open no window, even without a tray.</source>
        <translation>Lancé avec la session : n&apos;ouvrir aucune fenêtre, même sans zone de notification.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>[command ...]</source>
        <translation>[commande …]</translation>
    </message>
    <message>
        <location line="+80"/>
        <source>quillo: %1 (see quillo %2 --help)</source>
        <translation>quillo : %1 (voir quillo %2 --help)</translation>
    </message>
    <message>
        <location line="+106"/>
        <source>quillo: name needs at least one file</source>
        <translation>quillo : name attend au moins un fichier</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>quillo: unknown command %1 (see quillo --help)</source>
        <translation>quillo : commande inconnue %1 (voir quillo --help)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>quillo: no display found; running without an interface</source>
        <translation>quillo : aucun affichage trouvé ; fonctionne sans interface</translation>
    </message>
</context>
</TS>
