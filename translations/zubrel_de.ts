<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LocalLinkGuard</name>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>This link opens a file on this computer:

%1

Open it only if you trust the sender. Open it?</source>
        <translation>Dieser Link öffnet eine Datei auf diesem Computer:

%1

Öffne sie nur, wenn du dem Absender vertraust. Öffnen?</translation>
    </message>
</context>
<context>
    <name>QtColorPicker</name>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Dark red</source>
        <translation>Dunkelrot</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Dark green</source>
        <translation>Dunkelgrün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Dark blue</source>
        <translation>Dunkelblau</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Dark cyan</source>
        <translation>Dunkelcyan</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>Dark magenta</source>
        <translation>Dunkelmagenta</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Dark yellow</source>
        <translation>Dunkelgelb</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Dark gray</source>
        <translation>Dunkelgrau</translation>
    </message>
    <message>
        <source>Light gray</source>
        <translation>Hellgrau</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>More...</source>
        <translation>Weitere...</translation>
    </message>
</context>
<context>
    <name>ZChatSpelling</name>
    <message>
        <source>Install dictionaries</source>
        <translation>Wörterbücher installieren</translation>
    </message>
    <message>
        <source>Installed Dictionaries (max 3):</source>
        <translation>Installierte Wörterbücher (max. 3):</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Available Dictionaries</source>
        <translation>Verfügbare Wörterbücher</translation>
    </message>
    <message>
        <source>&amp;Install</source>
        <translation>&amp;Installieren</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>French</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Spanisch</translation>
    </message>
</context>
<context>
    <name>ZSkin</name>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>Away</source>
        <translation>Abwesend</translation>
    </message>
    <message>
        <source>Busy</source>
        <translation>Beschäftigt</translation>
    </message>
    <message>
        <source>Do not disturb</source>
        <translation>Nicht stören</translation>
    </message>
    <message>
        <source>Invisible</source>
        <translation>Unsichtbar</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>ZSmileyFavorites</name>
    <message>
        <source>Windows Bitmap</source>
        <translation>Windows Bitmap</translation>
    </message>
    <message>
        <source>Graphic Interchange Format</source>
        <translation>Graphic Interchange Format</translation>
    </message>
    <message>
        <source>Scaleable Vector Graphics</source>
        <translation>Scalable Vector Graphics</translation>
    </message>
    <message>
        <source>Joint Photographic Experts Group</source>
        <translation>Joint Photographic Experts Group</translation>
    </message>
    <message>
        <source>Multiple-image Network Graphics</source>
        <translation>Multiple-image Network Graphics</translation>
    </message>
    <message>
        <source>Portable Network Graphics</source>
        <translation>Portable Network Graphics</translation>
    </message>
    <message>
        <source>Portable Bitmap</source>
        <translation>Portable Bitmap</translation>
    </message>
    <message>
        <source>Portable Graymap</source>
        <translation>Portable Graymap</translation>
    </message>
    <message>
        <source>X11 Bitmap</source>
        <translation>X11 Bitmap</translation>
    </message>
    <message>
        <source>Icon Image File Format</source>
        <translation>Icon-Bildformat</translation>
    </message>
    <message>
        <source>JPEG 2000</source>
        <translation>JPEG 2000</translation>
    </message>
    <message>
        <source>Tagged Image File Format</source>
        <translation>Tagged Image File Format</translation>
    </message>
</context>
<context>
    <name>zubrel::Chat</name>
    <message>
        <source>This contact is blocked and will not be able to send you further messages.</source>
        <translation>Dieser Kontakt ist blockiert und kann dir keine weiteren Nachrichten senden.</translation>
    </message>
    <message>
        <source>This contact is on you hide list and will not be able to see your status.</source>
        <translation>Dieser Kontakt steht auf deiner Verbergen-Liste und kann deinen Status nicht sehen.</translation>
    </message>
    <message>
        <source>This contact will not be able to see your status. You are invisible for him.</source>
        <translation>Dieser Kontakt kann deinen Status nicht sehen. Du bist für ihn unsichtbar.</translation>
    </message>
    <message>
        <source>This contact is on your hide list and will not be able to see your status.</source>
        <translation>Dieser Kontakt steht auf deiner Verbergen-Liste und kann deinen Status nicht sehen.</translation>
    </message>
    <message>
        <source>Zubrel</source>
        <translation>Zubrel</translation>
    </message>
    <message>
        <source>Your message is larger than 100kb and cannot be send.</source>
        <translation>Deine Nachricht ist größer als 100 KB und kann nicht gesendet werden.</translation>
    </message>
    <message>
        <source>The user is currently offline and will receive your message as soon as they go online again.</source>
        <translation>Der Benutzer ist gerade offline und erhält deine Nachricht, sobald er wieder online ist.</translation>
    </message>
    <message>
        <source>The message could not be transmitted.</source>
        <translation>Die Nachricht konnte nicht übertragen werden.</translation>
    </message>
    <message>
        <source>%1 has joined the Multi Chat.</source>
        <translation>%1 ist dem Multi-Chat beigetreten.</translation>
    </message>
    <message>
        <source>%1 has left the Multi Chat.</source>
        <translation>%1 hat den Multi-Chat verlassen.</translation>
    </message>
    <message>
        <source>You have been kicked out of the Multi Chat. New messages will not be delivered.</source>
        <translation>Du wurdest aus dem Multi-Chat geworfen. Neue Nachrichten werden nicht zugestellt.</translation>
    </message>
    <message>
        <source>The Multi Chat session has been cancelled. New messages will not be delivered.</source>
        <translation>Die Multi-Chat-Sitzung wurde beendet. Neue Nachrichten werden nicht zugestellt.</translation>
    </message>
    <message>
        <source>Another Multi Chat is still being opened. Please try again when it is ready.</source>
        <translation>Ein anderer Multi-Chat wird noch geöffnet. Bitte versuche es erneut, wenn er bereit ist.</translation>
    </message>
    <message>
        <source>Waiting for other contact(s) to join.</source>
        <translation>Warte auf den Beitritt anderer Kontakte.</translation>
    </message>
    <message>
        <source>Kick User</source>
        <translation>Benutzer hinauswerfen</translation>
    </message>
    <message>
        <source>Would you like to kick %1 from your Multi Chat?</source>
        <translation>Möchtest du %1 aus deinem Multi-Chat werfen?</translation>
    </message>
    <message>
        <source>Private Session</source>
        <translation>Private Sitzung</translation>
    </message>
    <message>
        <source>A private session is only possible with online contacts.</source>
        <translation>Eine private Sitzung ist nur mit Kontakten möglich, die online sind.</translation>
    </message>
    <message>
        <source>Would you like to cancel the private session?</source>
        <translation>Möchtest du die private Sitzung beenden?</translation>
    </message>
    <message>
        <source>All participants must agree before taking part in a private chat session.
Only then, will none of the chat sessions be logged.

Would you like to send a request to all participants?</source>
        <translation>Alle Teilnehmer müssen einer privaten Chatsitzung zustimmen.
Nur dann wird keine der Chatsitzungen gespeichert.

Möchtest du allen Teilnehmern eine Anfrage senden?</translation>
    </message>
    <message>
        <source>%1 would like to cancel the private chat with you.

Would you like to accept?</source>
        <translation>%1 möchte den privaten Chat mit dir beenden.

Möchtest du zustimmen?</translation>
    </message>
    <message>
        <source>%1 would like to have a private chat with you, without saving the chat log.

Would you like to accept?</source>
        <translation>%1 möchte einen privaten Chat mit dir führen, ohne dass der Chatverlauf gespeichert wird.

Möchtest du zustimmen?</translation>
    </message>
    <message>
        <source>Your private session was not canceled.</source>
        <translation>Deine private Sitzung wurde nicht beendet.</translation>
    </message>
    <message>
        <source>Your private session has been canceled.</source>
        <translation>Deine private Sitzung wurde beendet.</translation>
    </message>
    <message>
        <source>Your private session has been created.</source>
        <translation>Deine private Sitzung wurde eingerichtet.</translation>
    </message>
    <message>
        <source>Your private session was not established.</source>
        <translation>Deine private Sitzung kam nicht zustande.</translation>
    </message>
    <message>
        <source>The Random Chat could not be started.</source>
        <translation>Der Zufallschat konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>%1 has matched for your Random Chat.</source>
        <translation>%1 wurde für deinen Zufallschat gefunden.</translation>
    </message>
    <message>
        <source>The user has left the chat. New messages will not be delivered.</source>
        <translation>Der Benutzer hat den Chat verlassen. Neue Nachrichten werden nicht zugestellt.</translation>
    </message>
</context>
<context>
    <name>zubrel::ContactDialog</name>
    <message>
        <source>Add Contact(s)</source>
        <translation>Kontakt(e) hinzufügen</translation>
    </message>
    <message>
        <source>Contact List</source>
        <translation>Kontaktliste</translation>
    </message>
    <message>
        <source>Added Contact(s)</source>
        <translation>Hinzugefügte Kontakte</translation>
    </message>
    <message>
        <source>Filter Contacts</source>
        <translation>Kontakte filtern</translation>
    </message>
    <message>
        <source>Remove contact(s)</source>
        <translation>Kontakt(e) entfernen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Clear view</source>
        <translation>Ansicht leeren</translation>
    </message>
    <message>
        <source>Enable/disable offline contacts</source>
        <translation>Offline-Kontakte ein-/ausblenden</translation>
    </message>
    <message>
        <source>Enable/disable groups</source>
        <translation>Gruppen ein-/ausblenden</translation>
    </message>
    <message>
        <source>Enable/disable contact details</source>
        <translation>Kontaktdetails ein-/ausblenden</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Main Group</source>
        <translation>Hauptgruppe</translation>
    </message>
</context>
<context>
    <name>zubrel::ContactListWindow</name>
    <message>
        <source>Zubrel</source>
        <translation>Zubrel</translation>
    </message>
    <message>
        <source>Double-click a contact to chat.</source>
        <translation>Doppelklicke auf einen Kontakt, um zu chatten.</translation>
    </message>
    <message>
        <source>A send failed, as asked.</source>
        <translation>Ein Senden ist wie gewünscht gescheitert.</translation>
    </message>
    <message>
        <source>&amp;Zubrel</source>
        <translation>&amp;Zubrel</translation>
    </message>
    <message>
        <source>&amp;Random chat...</source>
        <translation>&amp;Zufallschat...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Network</source>
        <translation>&amp;Netzwerk</translation>
    </message>
    <message>
        <source>&amp;Fail next send</source>
        <translation>Nächstes Senden &amp;scheitern lassen</translation>
    </message>
    <message>
        <source>Bring &amp;Sleepy online</source>
        <translation>&amp;Sleepy online bringen</translation>
    </message>
    <message>
        <source>Go &amp;Offline</source>
        <translation>&amp;Offline gehen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Host Requests</source>
        <translation>&amp;Anfragen an den Host</translation>
    </message>
    <message>
        <source>Host request: %1</source>
        <translation>Anfrage an den Host: %1</translation>
    </message>
    <message>
        <source>other network</source>
        <translation>anderes Netzwerk</translation>
    </message>
    <message>
        <source>mobile</source>
        <translation>mobil</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;&lt;small&gt;%2 · %3&lt;/small&gt;</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;&lt;small&gt;%2 · %3&lt;/small&gt;</translation>
    </message>
    <message>
        <source>You are now %1</source>
        <translation>Du bist jetzt %1</translation>
    </message>
    <message>
        <source>%1 is now %2</source>
        <translation>%1 ist jetzt %2</translation>
    </message>
</context>
<context>
    <name>zubrel::DemoBots</name>
    <message>
        <source>Private session on: neither of us keeps a log of this chat now.</source>
        <translation>Private Sitzung an: Keiner von uns speichert diesen Chat jetzt.</translation>
    </message>
    <message>
        <source>No private session: this chat is logged again.</source>
        <translation>Keine private Sitzung: Dieser Chat wird wieder gespeichert.</translation>
    </message>
    <message>
        <source>Use &quot;Start Private Session&quot; and I will decide.</source>
        <translation>Wähle „Private Sitzung starten“, und ich entscheide.</translation>
    </message>
    <message>
        <source>Watch my card: my name, picture and presence keep changing.</source>
        <translation>Schau auf meine Karte: Name, Bild und Status ändern sich ständig.</translation>
    </message>
    <message>
        <source>Hi, I am Privy. I would rather nobody kept a log of what we say: let me ask.</source>
        <translation>Hallo, ich bin Privy. Mir wäre lieber, niemand speichert, was wir sagen: Ich frage mal.</translation>
    </message>
    <message>
        <source>I am Judy. Propose a private session (Chat menu) and I accept or refuse, in turn.</source>
        <translation>Ich bin Judy. Schlag eine private Sitzung vor (Menü Chat), und ich nehme abwechselnd an oder lehne ab.</translation>
    </message>
    <message>
        <source>Shaky here. Write me anything and I shake your window.</source>
        <translation>Hier ist Shaky. Schreib mir irgendwas, und ich schüttle dein Fenster.</translation>
    </message>
    <message>
        <source>I am a chameleon: my name, picture and presence change every few seconds.</source>
        <translation>Ich bin ein Chamäleon: Name, Bild und Status ändern sich alle paar Sekunden.</translation>
    </message>
    <message>
        <source>Shake, shake!</source>
        <translation>Schüttel, schüttel!</translation>
    </message>
</context>
<context>
    <name>zubrel::DemoSlideshow</name>
    <message>
        <source>Slideshow</source>
        <translation>Diashow</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Bildschirmfoto</translation>
    </message>
    <message>
        <source>Screenshot with countdown</source>
        <translation>Bildschirmfoto mit Countdown</translation>
    </message>
    <message>
        <source>Screenshot of a chosen screen</source>
        <translation>Bildschirmfoto eines gewählten Bildschirms</translation>
    </message>
    <message>
        <source>With %1</source>
        <translation>Mit %1</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s)</source>
        <translation>
            <numerusform>%n Bild</numerusform>
            <numerusform>%n Bilder</numerusform>
        </translation>
    </message>
    <message>
        <source>The chat module places this window beside its chat.</source>
        <translation>Das Chatmodul stellt dieses Fenster neben seinen Chat.</translation>
    </message>
</context>
<context>
    <name>zubrel::DictionaryDownload</name>
    <message>
        <source>the file listing is larger than %1 KB</source>
        <translation>die Dateiliste ist größer als %1 KB</translation>
    </message>
    <message>
        <source>the file listing</source>
        <translation>die Dateiliste</translation>
    </message>
    <message>
        <source>the server lists no files</source>
        <translation>der Server listet keine Dateien</translation>
    </message>
    <message>
        <source>the server lists no usable file names</source>
        <translation>der Server listet keine brauchbaren Dateinamen</translation>
    </message>
    <message>
        <source>the server lists more than %1 files</source>
        <translation>der Server listet mehr als %1 Dateien</translation>
    </message>
    <message>
        <source>the spelling folder cannot be written</source>
        <translation>der Rechtschreibordner ist nicht beschreibbar</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB</source>
        <translation>%1 ist größer als %2 MB</translation>
    </message>
    <message>
        <source>the server answered %1 %2 for %3</source>
        <translation>der Server antwortete %1 %2 für %3</translation>
    </message>
    <message>
        <source>the dictionary server cannot be reached</source>
        <translation>der Wörterbuch-Server ist nicht erreichbar</translation>
    </message>
    <message>
        <source>%1 could not be downloaded (%2)</source>
        <translation>%1 konnte nicht heruntergeladen werden (%2)</translation>
    </message>
</context>
<context>
    <name>zubrel::FindBar</name>
    <message>
        <source>Find in conversation</source>
        <translation>Im Gespräch suchen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find text</source>
        <translation>Text suchen</translation>
    </message>
    <message>
        <source>Older match (Enter)</source>
        <translation>Älterer Treffer (Enter)</translation>
    </message>
    <message>
        <source>Newer match (Shift+Enter)</source>
        <translation>Neuerer Treffer (Umschalt+Enter)</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Suchleiste schließen (Escape)</translation>
    </message>
    <message>
        <source>Search whole history</source>
        <translation>Ganzen Verlauf durchsuchen</translation>
    </message>
    <message>
        <source>Search the whole history</source>
        <translation>Den ganzen Verlauf durchsuchen</translation>
    </message>
    <message>
        <source>Messages found in the history</source>
        <translation>Im Verlauf gefundene Nachrichten</translation>
    </message>
    <message>
        <source>Not found in the messages shown</source>
        <translation>In den angezeigten Nachrichten nicht gefunden</translation>
    </message>
    <message>
        <source>No message in the history holds “%1”</source>
        <translation>Keine Nachricht im Verlauf enthält „%1“</translation>
    </message>
    <message>
        <source>The newest %1 messages found</source>
        <translation>Die neuesten %1 gefundenen Nachrichten</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s) found</source>
        <translation>
            <numerusform>%n Nachricht gefunden</numerusform>
            <numerusform>%n Nachrichten gefunden</numerusform>
        </translation>
    </message>
    <message>
        <source>This message can no longer be shown</source>
        <translation>Diese Nachricht kann nicht mehr angezeigt werden</translation>
    </message>
    <message>
        <source>Search every message logged in this chat</source>
        <translation>Jede in diesem Chat gespeicherte Nachricht durchsuchen</translation>
    </message>
    <message>
        <source>The installed chat history cannot be searched</source>
        <translation>Der installierte Chatverlauf kann nicht durchsucht werden</translation>
    </message>
</context>
<context>
    <name>zubrel::HistoryPager</name>
    <message>
        <source>Me</source>
        <translation>Ich</translation>
    </message>
</context>
<context>
    <name>zubrel::HostRequestLog</name>
    <message>
        <source>Show profile</source>
        <translation>Profil zeigen</translation>
    </message>
    <message>
        <source>Show history</source>
        <translation>Verlauf zeigen</translation>
    </message>
    <message>
        <source>File transfer</source>
        <translation>Dateiübertragung</translation>
    </message>
    <message>
        <source>Voice call</source>
        <translation>Sprachanruf</translation>
    </message>
    <message>
        <source>Open web folder</source>
        <translation>Webordner öffnen</translation>
    </message>
    <message>
        <source>Authorisation request</source>
        <translation>Autorisierungsanfrage</translation>
    </message>
    <message>
        <source>Block</source>
        <translation>Blockieren</translation>
    </message>
    <message>
        <source>Unblock</source>
        <translation>Blockierung aufheben</translation>
    </message>
    <message>
        <source>New own picture</source>
        <translation>Neues eigenes Bild</translation>
    </message>
    <message>
        <source>SIP link</source>
        <translation>SIP-Link</translation>
    </message>
    <message>
        <source>contact %1</source>
        <translation>Kontakt %1</translation>
    </message>
    <message>
        <source>alias &quot;%1&quot;</source>
        <translation>Alias „%1“</translation>
    </message>
    <message>
        <source>files to be chosen</source>
        <translation>noch zu wählende Dateien</translation>
    </message>
    <message>
        <source>files %1</source>
        <translation>Dateien %1</translation>
    </message>
</context>
<context>
    <name>zubrel::HostRequestWindow</name>
    <message>
        <source>Host requests</source>
        <translation>Anfragen an den Host</translation>
    </message>
    <message>
        <source>What the chat module asked the messenger to do. A real client would act on each; the demo only lists them (block and unblock do change the block list).</source>
        <translation>Was das Chatmodul den Messenger zu tun bat. Ein echter Client würde jede Anfrage ausführen; die Demo listet sie nur auf (Blockieren und Blockierung aufheben ändern die Blockliste wirklich).</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Request</source>
        <translation>Anfrage</translation>
    </message>
    <message>
        <source>Arguments</source>
        <translation>Argumente</translation>
    </message>
</context>
<context>
    <name>zubrel::LoggedHtml</name>
    <message>
        <source>This message from the history could not be read as formatted text and is shown as it was stored.</source>
        <translation>Diese Nachricht aus dem Verlauf konnte nicht als formatierter Text gelesen werden und wird so gezeigt, wie sie gespeichert wurde.</translation>
    </message>
</context>
<context>
    <name>zubrel::MessageEntryAccessible</name>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Blocked message</source>
        <translation>Blockierte Nachricht</translation>
    </message>
    <message>
        <source>System message</source>
        <translation>Systemnachricht</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>zubrel::MessageHtmlGuard</name>
    <message>
        <source>This message is too long to show in full; the rest was left out.</source>
        <translation>Diese Nachricht ist zu lang, um sie ganz anzuzeigen; der Rest wurde weggelassen.</translation>
    </message>
</context>
<context>
    <name>zubrel::MultichatJoin</name>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>has invited you to a Multi Chat session.&lt;br&gt;&lt;br&gt;Do you want to join?</source>
        <translation>hat dich zu einer Multi-Chat-Sitzung eingeladen.&lt;br&gt;&lt;br&gt;Möchtest du beitreten?</translation>
    </message>
    <message>
        <source>&amp;Join</source>
        <translation>&amp;Beitreten</translation>
    </message>
    <message>
        <source>&amp;List Members</source>
        <translation>&amp;Teilnehmer anzeigen</translation>
    </message>
    <message>
        <source>&amp;Decline</source>
        <translation>A&amp;blehnen</translation>
    </message>
    <message>
        <source>Join Multi Chat</source>
        <translation>Multi-Chat beitreten</translation>
    </message>
</context>
<context>
    <name>zubrel::MultichatOpen</name>
    <message>
        <source>Multi Chat Topic</source>
        <translation>Thema des Multi-Chats</translation>
    </message>
    <message>
        <source>&amp;Send Invitation</source>
        <translation>Einladung &amp;senden</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Open Multi Chat</source>
        <translation>Multi-Chat öffnen</translation>
    </message>
</context>
<context>
    <name>zubrel::MultichatRoster</name>
    <message numerus="yes">
        <source>%1, … (%n members)</source>
        <translation>
            <numerusform>%1, … (%n Mitglied)</numerusform>
            <numerusform>%1, … (%n Mitglieder)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zubrel::PictureViewer</name>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Picture at full size</source>
        <translation>Bild in voller Größe</translation>
    </message>
</context>
<context>
    <name>zubrel::QtButtonNames</name>
    <message>
        <source>More tools</source>
        <translation>Weitere Werkzeuge</translation>
    </message>
    <message>
        <source>More menus</source>
        <translation>Weitere Menüs</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>zubrel::RandomChatOpen</name>
    <message>
        <source>Create Random Chat</source>
        <translation>Zufallschat erstellen</translation>
    </message>
    <message>
        <source>&lt;b&gt;What is &quot;Random Chat&quot;?&lt;/b&gt;&lt;br&gt;&lt;br&gt;Random Chat is a fun way to get to know new people! You will be connected randomly to other zubrel users and can start chatting immediately. Throughout the session, your identity remains anonymous. Just give it a try!</source>
        <translation>&lt;b&gt;Was ist der „Zufallschat“?&lt;/b&gt;&lt;br&gt;&lt;br&gt;Im Zufallschat lernst du auf unterhaltsame Weise neue Leute kennen! Du wirst zufällig mit anderen zubrel-Nutzern verbunden und kannst sofort loschatten. Während der ganzen Sitzung bleibst du anonym. Probier es einfach aus!</translation>
    </message>
    <message>
        <source>Instant Chat Search</source>
        <translation>Sofortige Chatsuche</translation>
    </message>
    <message>
        <source>Gender:</source>
        <translation>Geschlecht:</translation>
    </message>
    <message>
        <source>Female</source>
        <translation>Weiblich</translation>
    </message>
    <message>
        <source>Male</source>
        <translation>Männlich</translation>
    </message>
    <message>
        <source>Ignore or select one</source>
        <translation>Egal oder eines auswählen</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Searching ...</source>
        <translation>Suche läuft ...</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suchen</translation>
    </message>
</context>
<context>
    <name>zubrel::XmppBackend</name>
    <message>
        <source>Connected as %1</source>
        <translation>Verbunden als %1</translation>
    </message>
    <message>
        <source>Offline: %1</source>
        <translation>Offline: %1</translation>
    </message>
</context>
<context>
    <name>zubrel::XmppDirectory</name>
    <message>
        <source>Contacts</source>
        <translation>Kontakte</translation>
    </message>
</context>
<context>
    <name>zubrel::XmppMatchmaker</name>
    <message>
        <source>Stranger</source>
        <translation>Fremder</translation>
    </message>
</context>
<context>
    <name>zubrel::XmppSession</name>
    <message>
        <source>%1: not available on this network</source>
        <translation>%1: in diesem Netzwerk nicht verfügbar</translation>
    </message>
    <message>
        <source>Zubrel - %1</source>
        <translation>Zubrel - %1</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Verbinde...</translation>
    </message>
</context>
<context>
    <name>zubrel::ZChat</name>
    <message>
        <source>Make a Screenshot</source>
        <translation>Bildschirmfoto aufnehmen</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Sofort</translation>
    </message>
    <message>
        <source>With Countdown</source>
        <translation>Mit Countdown</translation>
    </message>
    <message>
        <source>With Countdown and Screen Selection</source>
        <translation>Mit Countdown und Bildschirmauswahl</translation>
    </message>
    <message>
        <source>&amp;Chat</source>
        <translation>&amp;Chat</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Hide &amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste ausblenden</translation>
    </message>
    <message>
        <source>Hide &amp;User List</source>
        <translation>&amp;Benutzerliste ausblenden</translation>
    </message>
    <message>
        <source>Hide &amp;Own User</source>
        <translation>&amp;Eigenen Benutzer ausblenden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Help Functions</source>
        <translation>&amp;Hilfefunktionen</translation>
    </message>
    <message>
        <source>&amp;Frequently Asked Questions (FAQ)</source>
        <translation>Häufig gestellte &amp;Fragen (FAQ)</translation>
    </message>
    <message>
        <source>Enable Text Styles</source>
        <translation>Textformatierung einschalten</translation>
    </message>
    <message>
        <source>Disable Text Styles</source>
        <translation>Textformatierung ausschalten</translation>
    </message>
    <message>
        <source>Add Contact(s)</source>
        <translation>Kontakt(e) hinzufügen</translation>
    </message>
    <message>
        <source>View Chat History</source>
        <translation>Chatverlauf anzeigen</translation>
    </message>
    <message>
        <source>Start Private Session</source>
        <translation>Private Sitzung starten</translation>
    </message>
    <message>
        <source>Shake Other Chat Window</source>
        <translation>Chatfenster des anderen schütteln</translation>
    </message>
    <message>
        <source>Show Slideshow</source>
        <translation>Diashow zeigen</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>zubrel message toolbar</source>
        <translation>zubrel-Nachrichtenleiste</translation>
    </message>
    <message>
        <source>Add contact(s)</source>
        <translation>Kontakt(e) hinzufügen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>View chat history</source>
        <translation>Chatverlauf anzeigen</translation>
    </message>
    <message>
        <source>Disable text styles</source>
        <translation>Textformatierung ausschalten</translation>
    </message>
    <message>
        <source>Start private session</source>
        <translation>Private Sitzung starten</translation>
    </message>
    <message>
        <source>Shake other chat window</source>
        <translation>Chatfenster des anderen schütteln</translation>
    </message>
    <message>
        <source>Show slideshow</source>
        <translation>Diashow zeigen</translation>
    </message>
    <message>
        <source>Make a screenshot</source>
        <translation>Bildschirmfoto aufnehmen</translation>
    </message>
    <message>
        <source>%1 is typing...</source>
        <translation>%1 schreibt...</translation>
    </message>
    <message>
        <source>End Private Session</source>
        <translation>Private Sitzung beenden</translation>
    </message>
    <message>
        <source>Show &amp;User List</source>
        <translation>&amp;Benutzerliste einblenden</translation>
    </message>
    <message>
        <source>Show &amp;Own User</source>
        <translation>&amp;Eigenen Benutzer einblenden</translation>
    </message>
    <message>
        <source>Random Chat</source>
        <translation>Zufallschat</translation>
    </message>
    <message>
        <source>Show &amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste einblenden</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>No web browser could be started. The page is at %1</source>
        <translation>Es konnte kein Webbrowser gestartet werden. Die Seite ist unter %1</translation>
    </message>
    <message>
        <source>Do you really want to quit the Multi Chat?</source>
        <translation>Möchtest du den Multi-Chat wirklich beenden?</translation>
    </message>
    <message>
        <source>Do you really want to leave the Multi Chat?</source>
        <translation>Möchtest du den Multi-Chat wirklich verlassen?</translation>
    </message>
    <message>
        <source>Close Multi Chat</source>
        <translation>Multi-Chat schließen</translation>
    </message>
    <message>
        <source>Close Random Chat</source>
        <translation>Zufallschat schließen</translation>
    </message>
    <message>
        <source>Do you really want to quit the Random Chat?</source>
        <translation>Möchtest du den Zufallschat wirklich beenden?</translation>
    </message>
</context>
<context>
    <name>zubrel::ZChatMessageMenu</name>
    <message>
        <source>&amp;Message</source>
        <translation>&amp;Nachricht</translation>
    </message>
    <message>
        <source>Go to Message Input</source>
        <translation>Zur Nachrichteneingabe</translation>
    </message>
    <message>
        <source>Go to Conversation</source>
        <translation>Zum Gesprächsverlauf</translation>
    </message>
    <message>
        <source>Find in Conversation</source>
        <translation>Im Gespräch suchen</translation>
    </message>
    <message>
        <source>Send Message</source>
        <translation>Nachricht senden</translation>
    </message>
    <message>
        <source>Font Settings</source>
        <translation>Schrifteinstellungen</translation>
    </message>
    <message>
        <source>Font Color</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>Insert Emoticon</source>
        <translation>Emoticon einfügen</translation>
    </message>
    <message>
        <source>Add Emoticon</source>
        <translation>Emoticon hinzufügen</translation>
    </message>
    <message>
        <source>Record Push Message</source>
        <translation>Push-Nachricht aufnehmen</translation>
    </message>
    <message>
        <source>Mute Sounds</source>
        <translation>Töne stummschalten</translation>
    </message>
    <message>
        <source>Spelling</source>
        <translation>Rechtschreibung</translation>
    </message>
    <message>
        <source>Play Sounds</source>
        <translation>Töne abspielen</translation>
    </message>
</context>
<context>
    <name>zubrel::ZChatPushToolBar</name>
    <message>
        <source>zubrel push message toolbar</source>
        <translation>zubrel-Push-Nachrichtenleiste</translation>
    </message>
    <message>
        <source>Recording is not available on this computer.</source>
        <translation>Auf diesem Computer kann nicht aufgenommen werden.</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Aufnahme beenden</translation>
    </message>
    <message>
        <source>ESC to abort</source>
        <translation>ESC zum Abbrechen</translation>
    </message>
    <message>
        <source>Nothing could be recorded, so no push message was sent.</source>
        <translation>Es konnte nichts aufgenommen werden, daher wurde keine Push-Nachricht gesendet.</translation>
    </message>
</context>
<context>
    <name>zubrel::ZChatSpelling</name>
    <message>
        <source>No dictionary server is configured (setting &quot;%1&quot; in group &quot;%2&quot;).</source>
        <translation>Es ist kein Wörterbuch-Server eingestellt (Einstellung „%1“ in Gruppe „%2“).</translation>
    </message>
    <message>
        <source>The dictionary server setting is not an http address.</source>
        <translation>Die Einstellung des Wörterbuch-Servers ist keine http-Adresse.</translation>
    </message>
    <message>
        <source>Install dictionaries</source>
        <translation>Wörterbücher installieren</translation>
    </message>
    <message>
        <source>%1 is already being downloaded.</source>
        <translation>%1 wird bereits heruntergeladen.</translation>
    </message>
    <message>
        <source>At most %1 dictionaries can be installed: remove one first.</source>
        <translation>Es können höchstens %1 Wörterbücher installiert sein: entferne zuerst eines.</translation>
    </message>
    <message>
        <source>Downloading %1...</source>
        <translation>%1 wird heruntergeladen...</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>%1 installed.</source>
        <translation>%1 installiert.</translation>
    </message>
    <message numerus="yes">
        <source>%n unsafe file name(s) refused.</source>
        <translation>
            <numerusform>%n unsicherer Dateiname abgelehnt.</numerusform>
            <numerusform>%n unsichere Dateinamen abgelehnt.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 removed.</source>
        <translation>%1 entfernt.</translation>
    </message>
    <message>
        <source>%1 could not be removed.</source>
        <translation>%1 konnte nicht entfernt werden.</translation>
    </message>
</context>
<context>
    <name>zubrel::ZChatTab</name>
    <message>
        <source>&amp;Send</source>
        <translation>&amp;Senden</translation>
    </message>
    <message>
        <source>Send your entered message</source>
        <translation>Eingegebene Nachricht senden</translation>
    </message>
    <message>
        <source>zubrel edit toolbar</source>
        <translation>zubrel-Bearbeitungsleiste</translation>
    </message>
    <message>
        <source>Turn font settings on/off</source>
        <translation>Schrifteinstellungen ein-/ausschalten</translation>
    </message>
    <message>
        <source>Choose font color</source>
        <translation>Schriftfarbe wählen</translation>
    </message>
    <message>
        <source>Mute sounds</source>
        <translation>Töne stummschalten</translation>
    </message>
    <message>
        <source>Spellchecking</source>
        <translation>Rechtschreibprüfung</translation>
    </message>
    <message>
        <source>Insert emoticon</source>
        <translation>Emoticon einfügen</translation>
    </message>
    <message>
        <source>Record push message</source>
        <translation>Push-Nachricht aufnehmen</translation>
    </message>
    <message>
        <source>View saved push messages</source>
        <translation>Gespeicherte Push-Nachrichten anzeigen</translation>
    </message>
    <message>
        <source>Encryption disabled</source>
        <translation>Verschlüsselung ausgeschaltet</translation>
    </message>
    <message>
        <source>Hide/show user list</source>
        <translation>Benutzerliste aus-/einblenden</translation>
    </message>
    <message>
        <source>Hide/show own user</source>
        <translation>Eigenen Benutzer aus-/einblenden</translation>
    </message>
    <message>
        <source>zubrel font toolbar</source>
        <translation>zubrel-Schriftleiste</translation>
    </message>
    <message>
        <source>&amp;Bold</source>
        <translation>&amp;Fett</translation>
    </message>
    <message>
        <source>&amp;Italic</source>
        <translation>&amp;Kursiv</translation>
    </message>
    <message>
        <source>&amp;Underline</source>
        <translation>&amp;Unterstrichen</translation>
    </message>
    <message>
        <source>&amp;Reset font</source>
        <translation>Schrift &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>The push message could not be sent: its file cannot be read.</source>
        <translation>Die Push-Nachricht konnte nicht gesendet werden: Ihre Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Spelling</source>
        <translation>Rechtschreibung</translation>
    </message>
    <message>
        <source>Enable/disable spelling</source>
        <translation>Rechtschreibprüfung ein-/ausschalten</translation>
    </message>
    <message>
        <source>Regard/disregard case</source>
        <translation>Groß-/Kleinschreibung beachten/ignorieren</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>No dictionaries installed</source>
        <translation>Keine Wörterbücher installiert</translation>
    </message>
    <message>
        <source>Setup dictionaries</source>
        <translation>Wörterbücher einrichten</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Töne abspielen</translation>
    </message>
    <message>
        <source>Encryption enabled</source>
        <translation>Verschlüsselung eingeschaltet</translation>
    </message>
    <message>
        <source>This message was sent to you while you were offline.</source>
        <translation>Diese Nachricht wurde dir gesendet, während du offline warst.</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Erneut abspielen</translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Save push message</source>
        <translation>Push-Nachricht speichern</translation>
    </message>
    <message>
        <source>Please enter a name for this push message:</source>
        <translation>Bitte gib einen Namen für diese Push-Nachricht ein:</translation>
    </message>
    <message>
        <source>Conversation</source>
        <translation>Gespräch</translation>
    </message>
    <message>
        <source>Message input</source>
        <translation>Nachrichteneingabe</translation>
    </message>
    <message>
        <source>Font family</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>Schriftgröße</translation>
    </message>
</context>
<context>
    <name>zubrel::ZContactCard</name>
    <message>
        <source>typing…</source>
        <translation>schreibt…</translation>
    </message>
    <message>
        <source>My Profile</source>
        <translation>Mein Profil</translation>
    </message>
    <message>
        <source>View Profile</source>
        <translation>Profil anzeigen</translation>
    </message>
    <message>
        <source>Add to Contact List...</source>
        <translation>Zur Kontaktliste hinzufügen...</translation>
    </message>
    <message>
        <source>Send Message</source>
        <translation>Nachricht senden</translation>
    </message>
    <message>
        <source>Call</source>
        <translation>Anrufen</translation>
    </message>
    <message>
        <source>Send File...</source>
        <translation>Datei senden...</translation>
    </message>
    <message>
        <source>Open Web Folder</source>
        <translation>Webordner öffnen</translation>
    </message>
    <message>
        <source>Unblock</source>
        <translation>Blockierung aufheben</translation>
    </message>
    <message>
        <source>Block</source>
        <translation>Blockieren</translation>
    </message>
    <message>
        <source>Kick from Multi Chat</source>
        <translation>Aus dem Multi-Chat werfen</translation>
    </message>
    <message>
        <source>Close Chat</source>
        <translation>Chat schließen</translation>
    </message>
    <message>
        <source>Typing</source>
        <translation>Schreibt</translation>
    </message>
    <message>
        <source>Blocked</source>
        <translation>Blockiert</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>Mobil</translation>
    </message>
</context>
<context>
    <name>zubrel::ZContactCardList</name>
    <message>
        <source>Add contact(s)</source>
        <translation>Kontakt(e) hinzufügen</translation>
    </message>
</context>
<context>
    <name>zubrel::ZMessageView</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Save Image As...</source>
        <translation>Bild speichern unter...</translation>
    </message>
</context>
<context>
    <name>zubrel::ZMessageViewAccessible</name>
    <message>
        <source>Conversation</source>
        <translation>Gespräch</translation>
    </message>
</context>
<context>
    <name>zubrel::ZPushMessage</name>
    <message>
        <source>Rating:</source>
        <translation>Bewertung:</translation>
    </message>
    <message>
        <source>Length:</source>
        <translation>Länge:</translation>
    </message>
    <message>
        <source>Play Push Message</source>
        <translation>Push-Nachricht abspielen</translation>
    </message>
    <message>
        <source>Rename Push Message</source>
        <translation>Push-Nachricht umbenennen</translation>
    </message>
    <message>
        <source>Remove Push Message</source>
        <translation>Push-Nachricht entfernen</translation>
    </message>
    <message>
        <source>Record Push Message... (F2)</source>
        <translation>Push-Nachricht aufnehmen... (F2)</translation>
    </message>
    <message>
        <source>Rename push message</source>
        <translation>Push-Nachricht umbenennen</translation>
    </message>
    <message>
        <source>Please enter a new name for this push message:</source>
        <translation>Bitte gib einen neuen Namen für diese Push-Nachricht ein:</translation>
    </message>
</context>
<context>
    <name>zubrel::ZPushMessageAreaReal</name>
    <message>
        <source>Record Push Message (F2)</source>
        <translation>Push-Nachricht aufnehmen (F2)</translation>
    </message>
    <message>
        <source>Setup Push Messages</source>
        <translation>Push-Nachrichten einrichten</translation>
    </message>
</context>
<context>
    <name>zubrel::ZPushMessageFrame</name>
    <message>
        <source>No Name</source>
        <translation>Ohne Namen</translation>
    </message>
    <message>
        <source>My Push Messages</source>
        <translation>Meine Push-Nachrichten</translation>
    </message>
</context>
<context>
    <name>zubrel::ZSmiley</name>
    <message>
        <source>Remove Emoticon</source>
        <translation>Emoticon entfernen</translation>
    </message>
    <message>
        <source>Add an Emoticon... (F9)</source>
        <translation>Emoticon hinzufügen... (F9)</translation>
    </message>
</context>
<context>
    <name>zubrel::ZSmileyAreaReal</name>
    <message>
        <source>Add an Emoticon... (F9)</source>
        <translation>Emoticon hinzufügen... (F9)</translation>
    </message>
    <message>
        <source>Setup Smileys</source>
        <translation>Smileys einrichten</translation>
    </message>
</context>
<context>
    <name>zubrel::ZSmileyFavorites</name>
    <message>
        <source>Unknown Format</source>
        <translation>Unbekanntes Format</translation>
    </message>
    <message>
        <source>All Supported Types</source>
        <translation>Alle unterstützten Formate</translation>
    </message>
    <message>
        <source>The selected pixmap is bigger than 100kb and will not be selected.</source>
        <translation>Das gewählte Bild ist größer als 100 KB und wird nicht übernommen.</translation>
    </message>
    <message>
        <source>The selected file is not a picture that can be used as an emoticon.</source>
        <translation>Die gewählte Datei ist kein Bild, das als Emoticon verwendet werden kann.</translation>
    </message>
    <message>
        <source>The selected pixmap is bigger than 200x200 pixel.</source>
        <translation>Das gewählte Bild ist größer als 200x200 Pixel.</translation>
    </message>
    <message>
        <source>The picture could not be stored with your emoticons.</source>
        <translation>Das Bild konnte nicht bei deinen Emoticons gespeichert werden.</translation>
    </message>
    <message>
        <source>The selected picture could not be converted into an emoticon.</source>
        <translation>Das gewählte Bild konnte nicht in ein Emoticon umgewandelt werden.</translation>
    </message>
</context>
<context>
    <name>zubrel::ZSmileyFrame</name>
    <message>
        <source>No Name</source>
        <translation>Ohne Namen</translation>
    </message>
    <message>
        <source>My Emoticons</source>
        <translation>Meine Emoticons</translation>
    </message>
</context>
<context>
    <name>zubrel::ZSmileyPicker</name>
    <message>
        <source>Choose Smiley</source>
        <translation>Smiley auswählen</translation>
    </message>
    <message>
        <source>Zubrel</source>
        <translation>Zubrel</translation>
    </message>
</context>
<context>
    <name>zubrel::ZTextBrowser</name>
    <message>
        <source>Save Image As...</source>
        <translation>Bild speichern unter...</translation>
    </message>
    <message>
        <source>Images (*.png *.jpg *.jpeg *.bmp *.gif)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.gif)</translation>
    </message>
    <message>
        <source>The image could not be saved.</source>
        <translation>Das Bild konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>zubrel::ZTextEdit</name>
    <message>
        <source>No suggestions</source>
        <translation>Keine Vorschläge</translation>
    </message>
</context>
</TS>
