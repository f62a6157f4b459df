<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Orvalis</source>
        <translation>Über Orvalis</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Version </translation>
    </message>
    <message>
        <source>Watches your dial-up and metered connections and tells you what every call costs.</source>
        <translation>Überwacht Ihre Wähl- und Volumenverbindungen und sagt Ihnen, was jeder Anruf kostet.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CAutoDialRule</name>
    <message>
        <source>Your data allowance is used up until %1. Dial anyway?</source>
        <translation>Ihr Datenvolumen ist bis %1 aufgebraucht. Trotzdem wählen?</translation>
    </message>
</context>
<context>
    <name>CAutostart</name>
    <message>
        <source>Orvalis cannot be started with the desktop from where it is: the path of the program, %1, holds a line break, a tab or another control character, which a desktop entry cannot carry. No entry was written; move the program to a folder with a plain name and tick the option again.</source>
        <translation>Orvalis kann von seinem jetzigen Ort aus nicht mit der Arbeitsumgebung gestartet werden: Der Pfad des Programms, %1, enthält einen Zeilenumbruch, einen Tabulator oder ein anderes Steuerzeichen, das ein Desktop-Eintrag nicht aufnehmen kann. Es wurde kein Eintrag geschrieben; verschieben Sie das Programm in einen Ordner mit einfachem Namen und setzen Sie das Häkchen erneut.</translation>
    </message>
</context>
<context>
    <name>CCompositionRoot</name>
    <message>
        <source>The traffic counters could not be started: bytes in and out are not counted until Orvalis is started again.</source>
        <translation>Die Datenzähler konnten nicht gestartet werden: Empfangene und gesendete Bytes werden erst nach einem Neustart von Orvalis gezählt.</translation>
    </message>
</context>
<context>
    <name>CConnectionMonitor</name>
    <message>
        <source>Connection %1 detected</source>
        <translation>Verbindung %1 erkannt</translation>
    </message>
    <message>
        <source>Connected - %1</source>
        <translation>Verbunden - %1</translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation>Verbindung beendet</translation>
    </message>
    <message>
        <source>Hangup...</source>
        <translation>Auflegen...</translation>
    </message>
    <message>
        <source>Not connected...</source>
        <translation>Nicht verbunden...</translation>
    </message>
    <message>
        <source>Warning - cost per month too high. See Preferences-&gt;Warnings. Connection closed.</source>
        <translation>Warnung - Kosten pro Monat zu hoch. Siehe Einstellungen-&gt;Warnungen. Verbindung beendet.</translation>
    </message>
    <message>
        <source>Warning - cost per call too high. See Preferences-&gt;Warnings. Connection closed.</source>
        <translation>Warnung - Kosten pro Verbindung zu hoch. Siehe Einstellungen-&gt;Warnungen. Verbindung beendet.</translation>
    </message>
    <message>
        <source>Waiting for connection...</source>
        <translation>Warte auf Verbindung...</translation>
    </message>
    <message>
        <source>You have %1 new email(s)</source>
        <translation>Sie haben %1 neue E-Mail(s)</translation>
    </message>
    <message>
        <source>No redial: the data allowance is used up</source>
        <translation>Keine Wahlwiederholung: Das Datenvolumen ist aufgebraucht</translation>
    </message>
    <message>
        <source>No scheduled dial: the data allowance is used up</source>
        <translation>Keine geplante Einwahl: Das Datenvolumen ist aufgebraucht</translation>
    </message>
    <message>
        <source>Warning - cost per month too high. See Preferences-&gt;Warnings. Cost: %1</source>
        <translation>Warnung - Kosten pro Monat zu hoch. Siehe Einstellungen-&gt;Warnungen. Kosten: %1</translation>
    </message>
    <message>
        <source>Warning - cost per call too high. See Preferences-&gt;Warnings. Cost: %1</source>
        <translation>Warnung - Kosten pro Verbindung zu hoch. Siehe Einstellungen-&gt;Warnungen. Kosten: %1</translation>
    </message>
    <message>
        <source>Unknown error: the list of connections cannot be read.</source>
        <translation>Unbekannter Fehler: Die Liste der Verbindungen kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>You are about to hang up an active connection. Are you sure?</source>
        <translation>Sie sind dabei, eine aktive Verbindung zu trennen. Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Error connecting to the email server.</source>
        <translation>Fehler beim Verbinden mit dem Mailserver.</translation>
    </message>
</context>
<context>
    <name>CConnectionsDlg</name>
    <message>
        <source>Connections</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Dial</source>
        <translation>Wählen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Set as default</source>
        <translation>Als Standard festlegen</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
</context>
<context>
    <name>CCredentialsDlg</name>
    <message>
        <source>Orvalis</source>
        <translation>Orvalis</translation>
    </message>
    <message>
        <source>Remember user name and password</source>
        <translation>Benutzername und Passwort merken</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>CCredentialsFlow</name>
    <message>
        <source>Connection %1 user name and password.</source>
        <translation>Benutzername und Passwort für die Verbindung %1.</translation>
    </message>
    <message>
        <source>Please select the default connection to dial. You must do this only once.
Click the connection you want as default, click Set as default, then click Hide.</source>
        <translation>Bitte wählen Sie die Standardverbindung. Das ist nur einmal nötig.
Klicken Sie die gewünschte Verbindung einmal an, dann auf „Als Standard festlegen“ und danach auf „Ausblenden“.</translation>
    </message>
    <message>
        <source>Please enter the user name and password used to connect to the remote server (internet).</source>
        <translation>Bitte geben Sie Benutzername und Passwort für die Verbindung zum Internet ein.</translation>
    </message>
    <message>
        <source>Please select the default connection to dial. You must do this only once.
Double-click the connection you want as default, then click Hide.</source>
        <translation>Bitte wählen Sie die Standardverbindung. Das ist nur einmal nötig.
Doppelklicken Sie auf die gewünschte Verbindung und klicken Sie dann auf „Ausblenden“.</translation>
    </message>
</context>
<context>
    <name>CCycleUsage</name>
    <message numerus="yes">
        <source>%1 of %2 used (%3 %), %n day(s) left</source>
        <translation>
            <numerusform>%1 von %2 verbraucht (%3 %), noch %n Tag</numerusform>
            <numerusform>%1 von %2 verbraucht (%3 %), noch %n Tage</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CDataPlanOptions</name>
    <message>
        <source>Please enter a day of the month from 1 to 31.</source>
        <translation>Bitte geben Sie einen Tag des Monats von 1 bis 31 ein.</translation>
    </message>
    <message>
        <source>Please enter the allowance in GB as a number such as 30 or 2.5, or leave it empty for no plan.</source>
        <translation>Bitte geben Sie das Volumen in GB als Zahl wie 30 oder 2.5 ein, oder lassen Sie das Feld für keinen Tarif leer.</translation>
    </message>
    <message>
        <source>Please enter a price of 0 or more.</source>
        <translation>Bitte geben Sie einen Preis von 0 oder mehr ein.</translation>
    </message>
    <message>
        <source>Please enter percentages from 1 to 1000, separated by commas, such as 80,100.</source>
        <translation>Bitte geben Sie Prozentwerte von 1 bis 1000 ein, durch Kommas getrennt, etwa 80,100.</translation>
    </message>
</context>
<context>
    <name>CDefaultDial</name>
    <message>
        <source>Connecting...</source>
        <translation>Verbinde...</translation>
    </message>
</context>
<context>
    <name>CDesktopNotifier</name>
    <message>
        <source>Hang up</source>
        <translation>Auflegen</translation>
    </message>
</context>
<context>
    <name>CDialDlg</name>
    <message>
        <source>Orvalis</source>
        <translation>Orvalis</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Connecting to server...</source>
        <translation>Verbinde mit dem Server...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CDialSession</name>
    <message>
        <source>Opening the port...</source>
        <translation>Öffne den Anschluss...</translation>
    </message>
    <message>
        <source>Port has been opened successfully</source>
        <translation>Der Anschluss wurde geöffnet</translation>
    </message>
    <message>
        <source>Connecting to the device...</source>
        <translation>Verbinde mit dem Gerät...</translation>
    </message>
    <message>
        <source>The device has connected successfully.</source>
        <translation>Das Gerät ist verbunden.</translation>
    </message>
    <message>
        <source>All devices in the device chain have successfully connected.</source>
        <translation>Alle Geräte der Kette sind verbunden.</translation>
    </message>
    <message>
        <source>Verifying the user name and password...</source>
        <translation>Prüfe Benutzername und Passwort...</translation>
    </message>
    <message>
        <source>Authentication...
Please wait...</source>
        <translation>Anmeldung...
Bitte warten...</translation>
    </message>
    <message>
        <source>Requested another validation attempt with a new user.</source>
        <translation>Ein weiterer Anmeldeversuch mit einem neuen Benutzer wurde angefordert.</translation>
    </message>
    <message>
        <source>Server has requested a callback number.</source>
        <translation>Der Server hat eine Rückrufnummer angefordert.</translation>
    </message>
    <message>
        <source>The client has requested to change the password</source>
        <translation>Der Client möchte das Passwort ändern</translation>
    </message>
    <message>
        <source>Registering your computer on the network...</source>
        <translation>Melde den Computer im Netz an...</translation>
    </message>
    <message>
        <source>The link-speed calculation phase is starting...</source>
        <translation>Die Messung der Verbindungsgeschwindigkeit beginnt...</translation>
    </message>
    <message>
        <source>An authentication request is being acknowledged.</source>
        <translation>Eine Anmeldeanfrage wird bestätigt.</translation>
    </message>
    <message>
        <source>The client has successfully completed authentication.</source>
        <translation>Die Anmeldung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>The line is about to disconnect for callback.</source>
        <translation>Die Leitung wird für den Rückruf getrennt.</translation>
    </message>
    <message>
        <source>Delaying to give the modem time to reset for callback.</source>
        <translation>Warte, bis das Modem für den Rückruf bereit ist.</translation>
    </message>
    <message>
        <source>Waiting for an incoming call from server.</source>
        <translation>Warte auf den Anruf des Servers.</translation>
    </message>
    <message>
        <source>Projection result information is available.</source>
        <translation>Die Ergebnisse der Protokollaushandlung liegen vor.</translation>
    </message>
    <message>
        <source>User authentication is being initiated or retried.</source>
        <translation>Die Benutzeranmeldung beginnt oder wird wiederholt.</translation>
    </message>
    <message>
        <source>Client has been called back and is about to resume authentication.</source>
        <translation>Der Rückruf ist erfolgt; die Anmeldung wird fortgesetzt.</translation>
    </message>
    <message>
        <source>Logging on to the network...</source>
        <translation>Melde mich im Netz an...</translation>
    </message>
    <message>
        <source>Subentry has been connected</source>
        <translation>Teilverbindung hergestellt</translation>
    </message>
    <message>
        <source>Subentry has been disconnected</source>
        <translation>Teilverbindung getrennt</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation>Verbinde mit %1...</translation>
    </message>
    <message>
        <source>Line is busy.
Redialing, please wait...</source>
        <translation>Die Leitung ist besetzt.
Wähle erneut, bitte warten...</translation>
    </message>
    <message>
        <source>Reauthentication (after callback) is starting.</source>
        <translation>Die erneute Anmeldung (nach dem Rückruf) beginnt.</translation>
    </message>
    <message>
        <source>Waiting for input in the terminal window.</source>
        <translation>Warten auf Eingabe im Terminalfenster.</translation>
    </message>
    <message>
        <source>Waiting for a new user name and password.</source>
        <translation>Warten auf neuen Benutzernamen und neues Passwort.</translation>
    </message>
    <message>
        <source>Waiting for a callback number.</source>
        <translation>Warten auf eine Rückrufnummer.</translation>
    </message>
    <message>
        <source>The password has expired and must be changed.</source>
        <translation>Das Passwort ist abgelaufen und muss geändert werden.</translation>
    </message>
    <message>
        <source>Connected to the remote server.</source>
        <translation>Mit dem Server verbunden.</translation>
    </message>
    <message>
        <source>Unknown dialing error.</source>
        <translation>Unbekannter Fehler beim Wählen.</translation>
    </message>
    <message>
        <source>Unknown dialing error (%1).</source>
        <translation>Unbekannter Fehler beim Wählen (%1).</translation>
    </message>
</context>
<context>
    <name>CGeneralOptions</name>
    <message>
        <source>The log folder cannot hold a line break or a NUL character. The log stays in %1; choose another folder to move it.</source>
        <translation>Der Ordner des Protokolls darf keinen Zeilenumbruch und kein NUL-Zeichen enthalten. Das Protokoll bleibt in %1; wählen Sie einen anderen Ordner, um es zu verschieben.</translation>
    </message>
</context>
<context>
    <name>CHelpOpener</name>
    <message>
        <source>The help is not installed. It was looked for in:
%1</source>
        <translation>Die Hilfe ist nicht installiert. Gesucht wurde in:
%1</translation>
    </message>
    <message>
        <source>No web browser could be started to show the help. The help is in: %1</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um die Hilfe zu zeigen. Die Hilfe liegt in: %1</translation>
    </message>
</context>
<context>
    <name>CInetToolsDlg</name>
    <message>
        <source>Inet Tools</source>
        <translation>Internet-Werkzeuge</translation>
    </message>
    <message>
        <source>Get Host/IP</source>
        <translation>Name/IP ermitteln</translation>
    </message>
    <message>
        <source>Get Time</source>
        <translation>Zeit abfragen</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
</context>
<context>
    <name>CMailDialCheck</name>
    <message>
        <source>You have %1 new email(s)</source>
        <translation>Sie haben %1 neue E-Mail(s)</translation>
    </message>
    <message>
        <source>Error connecting to the server.
Check your email settings!</source>
        <translation>Fehler beim Verbinden mit dem Server.
Prüfen Sie die E-Mail-Einstellungen!</translation>
    </message>
    <message>
        <source>There are no new emails.</source>
        <translation>Es gibt keine neuen E-Mails.</translation>
    </message>
    <message>
        <source>No mail server is set.
Enter one in the preferences, on the Email page.</source>
        <translation>Kein Mailserver eingetragen.
Tragen Sie ihn in den Einstellungen auf der Seite „E-Mail“ ein.</translation>
    </message>
    <message>
        <source>This certificate is trusted now. Check mail again.</source>
        <translation>Diesem Zertifikat wird jetzt vertraut. Prüfen Sie die E-Mail erneut.</translation>
    </message>
    <message>
        <source>The system does not trust the certificate of %1, port %2.
SHA-256 fingerprint:
%3

Trust exactly this certificate for this server from now on?</source>
        <translation>Das System vertraut dem Zertifikat von %1, Port %2, nicht.
SHA-256-Fingerabdruck:
%3

Genau diesem Zertifikat für diesen Server künftig vertrauen?</translation>
    </message>
    <message>
        <source>Trust this certificate</source>
        <translation>Diesem Zertifikat vertrauen</translation>
    </message>
</context>
<context>
    <name>CMailFailure</name>
    <message>
        <source>The server refused the user name or password.</source>
        <translation>Der Server hat Benutzername oder Passwort abgelehnt.</translation>
    </message>
    <message>
        <source>The server was not found (check its name).</source>
        <translation>Der Server wurde nicht gefunden (prüfen Sie den Namen).</translation>
    </message>
    <message>
        <source>The server cannot be reached or refused the connection.</source>
        <translation>Der Server ist nicht erreichbar oder hat die Verbindung abgelehnt.</translation>
    </message>
    <message>
        <source>The server did not answer in time.</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The server sent no greeting; it may expect TLS from the start (choose TLS instead of STARTTLS).</source>
        <translation>Der Server hat sich nicht gemeldet; vielleicht erwartet er TLS von Anfang an (wählen Sie TLS statt STARTTLS).</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted.
SHA-256 fingerprint: %1</source>
        <translation>Dem Zertifikat des Servers wird nicht vertraut.
SHA-256-Fingerabdruck: %1</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is for another name.
SHA-256 fingerprint: %1</source>
        <translation>Das Zertifikat des Servers gilt für einen anderen Namen.
SHA-256-Fingerabdruck: %1</translation>
    </message>
    <message>
        <source>The server refused STARTTLS.</source>
        <translation>Der Server hat STARTTLS abgelehnt.</translation>
    </message>
    <message>
        <source>The server closed the connection.</source>
        <translation>Der Server hat die Verbindung beendet.</translation>
    </message>
    <message>
        <source>The server&apos;s answer was not understood.</source>
        <translation>Die Antwort des Servers wurde nicht verstanden.</translation>
    </message>
</context>
<context>
    <name>CMainDlg</name>
    <message>
        <source>Connection info</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Bytes out:</source>
        <translation>Bytes aus:</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>System messages will go here!</source>
        <translation>Hier erscheinen Systemmeldungen!</translation>
    </message>
    <message>
        <source>Welcome to Orvalis!</source>
        <translation>Willkommen bei Orvalis!</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Hangup</source>
        <translation>Auflegen</translation>
    </message>
    <message>
        <source>Check email</source>
        <translation>E-Mail abrufen</translation>
    </message>
    <message>
        <source>Check update</source>
        <translation>Nach Update suchen</translation>
    </message>
    <message>
        <source>Inet Tools</source>
        <translation>Netzwerkwerkzeuge</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Connections</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Check mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Checking mail...</source>
        <translation>Prüfe E-Mail...</translation>
    </message>
    <message>
        <source>Data plan</source>
        <translation>Datentarif</translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation>Dauer:</translation>
    </message>
    <message>
        <source>Bytes in:</source>
        <translation>Bytes ein:</translation>
    </message>
    <message>
        <source>Email count:</source>
        <translation>Anzahl E-Mails:</translation>
    </message>
    <message>
        <source>You are about to exit Orvalis. Are you sure?</source>
        <translation>Sie sind dabei, Orvalis zu beenden. Sind Sie sicher?</translation>
    </message>
    <message>
        <source>The traffic counters did not stop in time. Orvalis ends anyway.</source>
        <translation>Die Datenzähler haben nicht rechtzeitig angehalten. Orvalis wird trotzdem beendet.</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
</context>
<context>
    <name>CMessageBox</name>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
</context>
<context>
    <name>CMessageListModel</name>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
</context>
<context>
    <name>CNameLookup</name>
    <message>
        <source>Can&apos;t resolve %1</source>
        <translation>%1 kann nicht aufgelöst werden</translation>
    </message>
</context>
<context>
    <name>CNameLookupPage</name>
    <message>
        <source>Resolve host to IP</source>
        <translation>Rechnername zu IP-Adresse</translation>
    </message>
    <message>
        <source>Host: (www.debian.org)</source>
        <translation>Rechner: (www.debian.org)</translation>
    </message>
    <message>
        <source>Host to IP</source>
        <translation>Name zu IP</translation>
    </message>
    <message>
        <source>IP to Host</source>
        <translation>IP zu Name</translation>
    </message>
    <message>
        <source>Get IP address</source>
        <translation>IP-Adresse ermitteln</translation>
    </message>
    <message>
        <source>Get host name</source>
        <translation>Rechnernamen ermitteln</translation>
    </message>
    <message>
        <source>Resolve IP address to host</source>
        <translation>IP-Adresse zu Rechnername</translation>
    </message>
    <message>
        <source>IP address: (127.0.0.1)</source>
        <translation>IP-Adresse: (127.0.0.1)</translation>
    </message>
</context>
<context>
    <name>CNetworkManagerAccess</name>
    <message>
        <source>No connection editor is installed. Install nm-connection-editor (package network-manager-gnome), or use nmtui or nmcli in a terminal.</source>
        <translation>Es ist kein Verbindungseditor installiert. Installieren Sie nm-connection-editor (Paket network-manager-gnome) oder verwenden Sie nmtui oder nmcli in einem Terminal.</translation>
    </message>
</context>
<context>
    <name>COkCancelButtons</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>COptConnectionPage</name>
    <message>
        <source>Launch default WEB browser after connection</source>
        <translation>Nach dem Verbinden den Standard-Webbrowser starten</translation>
    </message>
    <message>
        <source>Do nothing</source>
        <translation>Nichts tun</translation>
    </message>
    <message>
        <source>Auto hangup</source>
        <translation>Automatisch auflegen</translation>
    </message>
    <message>
        <source>Stay online</source>
        <translation>Online bleiben</translation>
    </message>
    <message>
        <source>after</source>
        <translation>nach</translation>
    </message>
    <message>
        <source>mins inactive/active</source>
        <translation>Min. Ruhe/Aktivität</translation>
    </message>
    <message>
        <source>Redial a maximum of</source>
        <translation>Höchstens</translation>
    </message>
    <message>
        <source>Do not redial at all</source>
        <translation>Nicht erneut wählen</translation>
    </message>
    <message>
        <source>times</source>
        <translation>Mal erneut wählen</translation>
    </message>
    <message>
        <source>Automatically redial when connection is closed by remote server</source>
        <translation>Automatisch neu wählen, wenn die Gegenstelle die Verbindung trennt</translation>
    </message>
    <message>
        <source>Default URL:</source>
        <translation>Startadresse:</translation>
    </message>
    <message>
        <source>If line is busy:</source>
        <translation>Wenn besetzt:</translation>
    </message>
    <message>
        <source>Redial until connected</source>
        <translation>Wählen, bis verbunden</translation>
    </message>
</context>
<context>
    <name>COptDataPlanPage</name>
    <message>
        <source>Received and sent</source>
        <translation>Empfangen und gesendet</translation>
    </message>
    <message>
        <source>Received only</source>
        <translation>Nur empfangen</translation>
    </message>
    <message>
        <source>Warn only</source>
        <translation>Nur warnen</translation>
    </message>
    <message>
        <source>Hang up and do not dial on its own until the next cycle</source>
        <translation>Auflegen und bis zum nächsten Zeitraum nicht selbst wählen</translation>
    </message>
    <message>
        <source>empty: no plan</source>
        <translation>leer: kein Tarif</translation>
    </message>
    <message>
        <source>1 GB = 1,000,000,000 bytes, as carriers count</source>
        <translation>1 GB = 1.000.000.000 Bytes, wie die Anbieter zählen</translation>
    </message>
    <message>
        <source>Cycle starts on day</source>
        <translation>Zeitraum beginnt am Tag</translation>
    </message>
    <message>
        <source>Allowance (GB)</source>
        <translation>Volumen (GB)</translation>
    </message>
    <message>
        <source>Counts against it</source>
        <translation>Angerechnet wird</translation>
    </message>
    <message>
        <source>Price per GB past it</source>
        <translation>Preis je GB darüber hinaus</translation>
    </message>
    <message>
        <source>Warn at (%, comma-separated)</source>
        <translation>Warnen bei (%, durch Kommas getrennt)</translation>
    </message>
    <message>
        <source>At the limit</source>
        <translation>Am Limit</translation>
    </message>
    <message>
        <source>This cycle</source>
        <translation>Dieser Zeitraum</translation>
    </message>
    <message>
        <source>No data plan set</source>
        <translation>Kein Datentarif eingestellt</translation>
    </message>
    <message>
        <source>Cycle: %1 to %2</source>
        <translation>Zeitraum: %1 bis %2</translation>
    </message>
    <message>
        <source>At this rate: %1 by the cycle&apos;s end</source>
        <translation>Bei diesem Verbrauch: %1 bis zum Ende des Zeitraums</translation>
    </message>
    <message>
        <source>Daily budget: %1 a day</source>
        <translation>Tagesbudget: %1 pro Tag</translation>
    </message>
    <message>
        <source>Cost so far: %1, projected: %2</source>
        <translation>Kosten bisher: %1, voraussichtlich: %2</translation>
    </message>
</context>
<context>
    <name>COptGeneralPage</name>
    <message>
        <source>Show main window when starting</source>
        <translation>Hauptfenster beim Start zeigen</translation>
    </message>
    <message>
        <source>Show splash screen when starting</source>
        <translation>Startbild beim Start zeigen</translation>
    </message>
    <message>
        <source>Ask when closing connection</source>
        <translation>Vor dem Auflegen fragen</translation>
    </message>
    <message>
        <source>Ask before exiting</source>
        <translation>Vor dem Beenden fragen</translation>
    </message>
    <message>
        <source>Logfile creating/reading path</source>
        <translation>Ordner des Protokolls</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Startup</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Rückfragen</translation>
    </message>
    <message>
        <source>Select directory for logfile creating/reading</source>
        <translation>Ordner für das Protokoll wählen</translation>
    </message>
    <message>
        <source>Start Orvalis when I log in</source>
        <translation>Orvalis bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Show main window when connected, then hide</source>
        <translation>Hauptfenster beim Verbinden zeigen, dann ausblenden</translation>
    </message>
    <message>
        <source>Orvalis can start by itself when you log in (recommended). Otherwise you have to start Orvalis yourself.</source>
        <translation>Orvalis kann bei Ihrer Anmeldung von selbst starten (empfohlen). Sonst müssen Sie Orvalis selbst starten.</translation>
    </message>
</context>
<context>
    <name>COptMailPage</name>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Check incoming mail every</source>
        <translation>Posteingang prüfen alle</translation>
    </message>
    <message>
        <source>E-mail checking</source>
        <translation>E-Mail-Prüfung</translation>
    </message>
    <message>
        <source>mins</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>Mail user/server settings</source>
        <translation>Benutzer und Server</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>STARTTLS</source>
        <translation>STARTTLS</translation>
    </message>
    <message>
        <source>SSL/TLS</source>
        <translation>SSL/TLS</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Check email now</source>
        <translation>E-Mail jetzt prüfen</translation>
    </message>
    <message>
        <source>Check email immediately upon connection</source>
        <translation>E-Mail sofort nach dem Verbinden prüfen</translation>
    </message>
    <message>
        <source>Orvalis can periodically check your incoming mail and display the count of new messages. You must supply your email server, user name and password in order to use this function.</source>
        <translation>Orvalis kann regelmäßig Ihren Posteingang prüfen und die Zahl neuer Nachrichten zeigen. Dazu braucht es Ihren E-Mail-Server, Benutzernamen und Passwort.</translation>
    </message>
    <message>
        <source>POP server</source>
        <translation>POP-Server</translation>
    </message>
</context>
<context>
    <name>COptPricePage</name>
    <message>
        <source>Price per dial</source>
        <translation>Preis je Anwahl</translation>
    </message>
    <message>
        <source>Cost per minute</source>
        <translation>Preis je Minute</translation>
    </message>
    <message>
        <source>Cheap cost per minute</source>
        <translation>Billigpreis je Minute</translation>
    </message>
    <message>
        <source>Cheap time from</source>
        <translation>Billigtarif von</translation>
    </message>
    <message>
        <source>Connection block step (mins)</source>
        <translation>Taktung (Min.)</translation>
    </message>
    <message>
        <source>Free time in each month (please use hh:mm format)</source>
        <translation>Freizeit je Monat (im Format hh:mm)</translation>
    </message>
    <message>
        <source>Always cheap time on Saturdays</source>
        <translation>Samstags immer Billigtarif</translation>
    </message>
    <message>
        <source>Always cheap time on Sundays</source>
        <translation>Sonntags immer Billigtarif</translation>
    </message>
</context>
<context>
    <name>COptSoundPage</name>
    <message>
        <source>When connection is made</source>
        <translation>Beim Verbinden</translation>
    </message>
    <message>
        <source>When connection is terminated</source>
        <translation>Beim Trennen</translation>
    </message>
    <message>
        <source>Do nothing</source>
        <translation>Nichts tun</translation>
    </message>
    <message>
        <source>Play this file</source>
        <translation>Diese Datei abspielen</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Sound files (*.wav)</source>
        <translation>Klangdateien (*.wav)</translation>
    </message>
    <message>
        <source>When a connection is made, Orvalis can beep (available on most computers) or play a WAV file (a sound card must be installed).</source>
        <translation>Beim Verbinden kann Orvalis piepen (auf den meisten Computern möglich) oder eine WAV-Datei abspielen (dazu braucht es eine Soundkarte).</translation>
    </message>
    <message>
        <source>Beep through computer speaker</source>
        <translation>Über den Lautsprecher piepen</translation>
    </message>
</context>
<context>
    <name>COptUpgradePage</name>
    <message>
        <source>Disable upgrade notification</source>
        <translation>Nicht auf neue Versionen hinweisen</translation>
    </message>
    <message>
        <source>Orvalis can periodically ask its web site whether a newer major version is available.</source>
        <translation>Orvalis kann regelmäßig auf seiner Website nachfragen, ob eine neue Hauptversion verfügbar ist.</translation>
    </message>
    <message>
        <source>Check for an upgrade now</source>
        <translation>Jetzt nach einer neuen Version suchen</translation>
    </message>
</context>
<context>
    <name>COptWarningsPage</name>
    <message>
        <source>Warnings</source>
        <translation>Warnungen</translation>
    </message>
    <message>
        <source>Auto hangup</source>
        <translation>Automatisch auflegen</translation>
    </message>
    <message>
        <source>Warn when cost per month exceeds</source>
        <translation>Warnen, wenn die Kosten im Monat höher sind als</translation>
    </message>
    <message>
        <source>Warn when cost per call exceeds</source>
        <translation>Warnen, wenn die Kosten je Verbindung höher sind als</translation>
    </message>
    <message>
        <source>Disconnect when cost per month exceeds</source>
        <translation>Trennen, wenn die Kosten im Monat höher sind als</translation>
    </message>
    <message>
        <source>Disconnect when cost per call exceeds</source>
        <translation>Trennen, wenn die Kosten je Verbindung höher sind als</translation>
    </message>
    <message>
        <source>Orvalis can warn you if the cost reaches the selected amount. When it is reached, a message appears.</source>
        <translation>Orvalis kann Sie warnen, wenn die Kosten den gewählten Betrag erreichen. Dann erscheint eine Meldung.</translation>
    </message>
    <message>
        <source>Orvalis can even disconnect from the internet if the cost reaches the selected amount. When it is reached, a message appears and the connection is closed.</source>
        <translation>Orvalis kann die Verbindung sogar trennen, wenn die Kosten den gewählten Betrag erreichen. Dann erscheint eine Meldung, und die Verbindung wird getrennt.</translation>
    </message>
</context>
<context>
    <name>CPasswordPrompt</name>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Password incorrect. Please try again!</source>
        <translation>Falsches Passwort. Bitte versuchen Sie es noch einmal!</translation>
    </message>
    <message>
        <source>Checking...</source>
        <translation>Wird geprüft...</translation>
    </message>
    <message>
        <source>Please enter the password.</source>
        <translation>Bitte geben Sie das Passwort ein.</translation>
    </message>
</context>
<context>
    <name>CPhonebookActions</name>
    <message>
        <source>Please select entry to dial first. Or create it, using Add...</source>
        <translation>Bitte wählen Sie zuerst einen Eintrag zum Wählen, oder legen Sie mit „Hinzufügen“ einen an.</translation>
    </message>
    <message>
        <source>Please select entry to delete first. Or create it, using Add...</source>
        <translation>Bitte wählen Sie zuerst einen Eintrag zum Löschen, oder legen Sie mit „Hinzufügen“ einen an.</translation>
    </message>
    <message>
        <source>Please select entry first. Just single-click on it...</source>
        <translation>Bitte wählen Sie zuerst einen Eintrag: einfach einmal anklicken.</translation>
    </message>
    <message>
        <source>The connection editor could not be opened (error %1).</source>
        <translation>Der Verbindungseditor konnte nicht geöffnet werden (Fehler %1).</translation>
    </message>
    <message>
        <source>You are about to delete entry %1. Are you sure?</source>
        <translation>Der Eintrag %1 wird gelöscht. Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
</context>
<context>
    <name>CPingLine</name>
    <message>
        <source>[Ping] %1 [%2], replied in RTT:%3 ms</source>
        <translation>[Ping] %1 [%2], Antwort nach %3 ms</translation>
    </message>
    <message>
        <source>[Ping] Error %1</source>
        <translation>[Ping] Fehler %1</translation>
    </message>
    <message>
        <source>: this system lets no one without CAP_NET_RAW send pings (net.ipv4.ping_group_range). To allow every user, run as root: sysctl -w net.ipv4.ping_group_range=&quot;0 2147483647&quot; and, to keep it, put net.ipv4.ping_group_range = 0 2147483647 in a file in /etc/sysctl.d/.</source>
        <translation>: Auf diesem System darf niemand ohne CAP_NET_RAW pingen (net.ipv4.ping_group_range). Um es allen zu erlauben, als root ausführen: sysctl -w net.ipv4.ping_group_range=&quot;0 2147483647&quot; und, damit es bleibt, net.ipv4.ping_group_range = 0 2147483647 in eine Datei in /etc/sysctl.d/ schreiben.</translation>
    </message>
    <message>
        <source>[Ping] Error %1: %2</source>
        <translation>[Ping] Fehler %1: %2</translation>
    </message>
</context>
<context>
    <name>CPingPage</name>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Ping specified host.</source>
        <translation>Den angegebenen Rechner anpingen.</translation>
    </message>
    <message>
        <source>Host: (127.0.0.1)</source>
        <translation>Rechner: (127.0.0.1)</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
</context>
<context>
    <name>CPingStatus</name>
    <message>
        <source>Reply did not match</source>
        <translation>Antwort passt nicht zur Anfrage</translation>
    </message>
    <message>
        <source>Host not found</source>
        <translation>Rechner nicht gefunden</translation>
    </message>
    <message>
        <source>Destination network unreachable</source>
        <translation>Zielnetz nicht erreichbar</translation>
    </message>
    <message>
        <source>Destination host unreachable</source>
        <translation>Zielrechner nicht erreichbar</translation>
    </message>
    <message>
        <source>Destination protocol unreachable</source>
        <translation>Zielprotokoll nicht erreichbar</translation>
    </message>
    <message>
        <source>Destination port unreachable</source>
        <translation>Zielport nicht erreichbar</translation>
    </message>
    <message>
        <source>Packet too big</source>
        <translation>Paket zu groß</translation>
    </message>
    <message>
        <source>Request timed out</source>
        <translation>Zeitüberschreitung der Anfrage</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Keine Route zum Rechner</translation>
    </message>
    <message>
        <source>Time to live expired in transit</source>
        <translation>Lebensdauer (TTL) unterwegs abgelaufen</translation>
    </message>
    <message>
        <source>Time to live expired during reassembly</source>
        <translation>Lebensdauer (TTL) beim Zusammensetzen abgelaufen</translation>
    </message>
    <message>
        <source>Parameter problem</source>
        <translation>Parameterfehler</translation>
    </message>
    <message>
        <source>Source quench</source>
        <translation>Quelle gedrosselt</translation>
    </message>
    <message>
        <source>General failure</source>
        <translation>Allgemeiner Fehler</translation>
    </message>
</context>
<context>
    <name>CPlanWatch</name>
    <message>
        <source>Your data allowance of %1 is used up. Connection closed. Nothing is dialled on its own until the next cycle.</source>
        <translation>Ihr Datenvolumen von %1 ist aufgebraucht. Verbindung getrennt. Bis zum nächsten Zeitraum wird nicht selbst gewählt.</translation>
    </message>
    <message numerus="yes">
        <source>%1/%2 GB, %3 %, %n day(s) left</source>
        <translation>
            <numerusform>%1/%2 GB, %3 %, noch %n Tag</numerusform>
            <numerusform>%1/%2 GB, %3 %, noch %n Tage</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CPreferencesDlg</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Orvalis Preferences</source>
        <translation>Orvalis-Einstellungen</translation>
    </message>
</context>
<context>
    <name>CPreferencesSheet</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation>Warnungen</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>Preis</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>Klänge</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Data plan</source>
        <translation>Datentarif</translation>
    </message>
</context>
<context>
    <name>CReportDlg</name>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Reading the log... %p%</source>
        <translation>Lese das Protokoll... %p%</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>&amp;Ausblenden</translation>
    </message>
</context>
<context>
    <name>CScheduleDlg</name>
    <message>
        <source>Timer</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Hangup</source>
        <translation>Auflegen</translation>
    </message>
</context>
<context>
    <name>CScheduleTicker</name>
    <message>
        <source>Dial sequence stopped</source>
        <translation>Wählen angehalten</translation>
    </message>
    <message>
        <source>Hangup sequence stopped</source>
        <translation>Auflegen angehalten</translation>
    </message>
    <message>
        <source>Dialing at : </source>
        <translation>Wählen um: </translation>
    </message>
    <message>
        <source>Hangup at : </source>
        <translation>Auflegen um: </translation>
    </message>
    <message>
        <source>Time remaining : </source>
        <translation>Verbleibende Zeit: </translation>
    </message>
    <message>
        <source>Dial waits for the open window to close</source>
        <translation>Das Wählen wartet, bis das offene Fenster geschlossen ist</translation>
    </message>
</context>
<context>
    <name>CSecurityDlg</name>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Enable password protection</source>
        <translation>Passwortschutz einschalten</translation>
    </message>
    <message>
        <source>Ask password when starting</source>
        <translation>Passwort beim Start abfragen</translation>
    </message>
    <message>
        <source>Ask password when changing configuration only</source>
        <translation>Passwort nur beim Ändern der Einstellungen abfragen</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Passwort bestätigen</translation>
    </message>
</context>
<context>
    <name>CSecuritySettings</name>
    <message>
        <source>Please enter passwords</source>
        <translation>Bitte geben Sie die Passwörter ein</translation>
    </message>
    <message>
        <source>The passwords you typed don&apos;t match. Please enter the same password in both boxes.</source>
        <translation>Die Passwörter stimmen nicht überein. Bitte geben Sie in beide Felder dasselbe Passwort ein.</translation>
    </message>
    <message>
        <source>A password is set. Leave both fields empty to keep it.</source>
        <translation>Ein Passwort ist gesetzt. Lassen Sie beide Felder leer, um es zu behalten.</translation>
    </message>
    <message>
        <source>The password could not be saved in %1. The old password stays in force.</source>
        <translation>Das Passwort konnte nicht in %1 gespeichert werden. Das alte Passwort bleibt gültig.</translation>
    </message>
    <message>
        <source>Please choose when the password is asked: when starting, or when changing the configuration.</source>
        <translation>Bitte wählen Sie, wann das Passwort abgefragt wird: beim Start oder beim Ändern der Einstellungen.</translation>
    </message>
</context>
<context>
    <name>CSelfClosingBox</name>
    <message numerus="yes">
        <source>Without an answer this box closes itself in %n second(s) and answers No.</source>
        <translation>
            <numerusform>Ohne Antwort schließt sich dieses Fenster in %n Sekunde und antwortet mit Nein.</numerusform>
            <numerusform>Ohne Antwort schließt sich dieses Fenster in %n Sekunden und antwortet mit Nein.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Without an answer this box closes itself in %n second(s) and answers Yes.</source>
        <translation>
            <numerusform>Ohne Antwort schließt sich dieses Fenster in %n Sekunde und antwortet mit Ja.</numerusform>
            <numerusform>Ohne Antwort schließt sich dieses Fenster in %n Sekunden und antwortet mit Ja.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>The button the box presses when the time is up, with the seconds left: &quot;Yes (30)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>CStatisticsCharts</name>
    <message>
        <source>Data (%1)</source>
        <translation>Daten (%1)</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Empfangen</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>Received: %1</source>
        <translation>Empfangen: %1</translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation>Gesendet: %1</translation>
    </message>
    <message>
        <source>Calls: %1</source>
        <translation>Verbindungen: %1</translation>
    </message>
    <message>
        <source>Cost: %1</source>
        <translation>Kosten: %1</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Verbraucht</translation>
    </message>
    <message>
        <source>Allowance</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Projection</source>
        <translation>Voraussichtlich</translation>
    </message>
    <message>
        <source>By day</source>
        <translation>Nach Tagen</translation>
    </message>
    <message>
        <source>By billing cycle</source>
        <translation>Nach Abrechnungszeitraum</translation>
    </message>
    <message>
        <source>By hour of the day</source>
        <translation>Nach Tageszeit</translation>
    </message>
    <message>
        <source>Top days</source>
        <translation>Top-Tage</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Used: %1 of %2</source>
        <translation>Verbraucht: %1 von %2</translation>
    </message>
    <message>
        <source>%1:00 to %2:00</source>
        <translation>%1:00 bis %2:00 Uhr</translation>
    </message>
</context>
<context>
    <name>CStatisticsDlg</name>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>This cycle</source>
        <translation>Dieser Zeitraum</translation>
    </message>
    <message>
        <source>Last cycle</source>
        <translation>Letzter Zeitraum</translation>
    </message>
    <message>
        <source>Last 12 cycles</source>
        <translation>Letzte 12 Zeiträume</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>&amp;Range:</source>
        <translation>&amp;Bereich:</translation>
    </message>
    <message>
        <source>&amp;Days</source>
        <translation>&amp;Tage</translation>
    </message>
    <message>
        <source>C&amp;ycles</source>
        <translation>&amp;Zeiträume</translation>
    </message>
    <message>
        <source>&amp;Hours</source>
        <translation>&amp;Stunden</translation>
    </message>
    <message>
        <source>&amp;Top days</source>
        <translation>T&amp;op-Tage</translation>
    </message>
    <message>
        <source>Save chart as &amp;PNG...</source>
        <translation>Diagramm als &amp;PNG speichern...</translation>
    </message>
    <message>
        <source>Save figures as &amp;CSV...</source>
        <translation>Zahlen als &amp;CSV speichern...</translation>
    </message>
    <message>
        <source>Reading the log...</source>
        <translation>Protokoll wird gelesen...</translation>
    </message>
    <message>
        <source>No calls in this range</source>
        <translation>Keine Verbindungen in diesem Bereich</translation>
    </message>
    <message numerus="yes">
        <source>%n call(s) from %1 to %2</source>
        <translation>
            <numerusform>%n Verbindung vom %1 bis %2</numerusform>
            <numerusform>%n Verbindungen vom %1 bis %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(%n line(s) without a valid date left out)</source>
        <translation>
            <numerusform>(%n Zeile ohne gültiges Datum ausgelassen)</numerusform>
            <numerusform>(%n Zeilen ohne gültiges Datum ausgelassen)</numerusform>
        </translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation>Die Datei %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Save chart</source>
        <translation>Diagramm speichern</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>Save figures</source>
        <translation>Zahlen speichern</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
</context>
<context>
    <name>CSummaryDlg</name>
    <message>
        <source>Summary</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Only this month</source>
        <translation>Nur dieser Monat</translation>
    </message>
    <message>
        <source>Only today</source>
        <translation>Nur heute</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
</context>
<context>
    <name>CSummaryText</name>
    <message>
        <source>Connections</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Total time online</source>
        <translation>Gesamtzeit online</translation>
    </message>
    <message>
        <source>Total cost</source>
        <translation>Gesamtkosten</translation>
    </message>
    <message>
        <source>Average cost per connection</source>
        <translation>Durchschnittskosten je Verbindung</translation>
    </message>
    <message>
        <source>Total data uploaded</source>
        <translation>Daten gesendet</translation>
    </message>
    <message>
        <source>Total data downloaded</source>
        <translation>Daten empfangen</translation>
    </message>
    <message>
        <source>Total data transmitted</source>
        <translation>Daten insgesamt</translation>
    </message>
    <message>
        <source>Average connection length</source>
        <translation>Durchschnittliche Verbindungsdauer</translation>
    </message>
</context>
<context>
    <name>CTimeQuery</name>
    <message>
        <source>Cannot resolve</source>
        <translation>Name kann nicht aufgelöst werden</translation>
    </message>
    <message>
        <source>Cannot establish connection</source>
        <translation>Keine Verbindung möglich</translation>
    </message>
    <message>
        <source>Unable to get time</source>
        <translation>Die Zeit ist nicht zu erhalten</translation>
    </message>
</context>
<context>
    <name>CTimeQueryPage</name>
    <message>
        <source>Get time</source>
        <translation>Zeit abfragen</translation>
    </message>
    <message>
        <source>Get Internet time:</source>
        <translation>Internetzeit abfragen:</translation>
    </message>
    <message>
        <source>Current computer clock time:</source>
        <translation>Aktuelle Zeit dieses Computers:</translation>
    </message>
    <message>
        <source>Current GMT internet time:</source>
        <translation>Aktuelle Internetzeit (UTC):</translation>
    </message>
</context>
<context>
    <name>CTimerConnectPage</name>
    <message>
        <source>Start dialing at time:</source>
        <translation>Wählen um:</translation>
    </message>
    <message>
        <source>Start dialing in:</source>
        <translation>Wählen in:</translation>
    </message>
    <message>
        <source>Start dialup sequence</source>
        <translation>Wählen planen</translation>
    </message>
    <message>
        <source>Stop dialup sequence</source>
        <translation>Geplantes Wählen anhalten</translation>
    </message>
</context>
<context>
    <name>CTimerHangupPage</name>
    <message>
        <source>Start Hangup at time:</source>
        <translation>Auflegen um:</translation>
    </message>
    <message>
        <source>Start Hangup in:</source>
        <translation>Auflegen in:</translation>
    </message>
    <message>
        <source>Start hangup sequence</source>
        <translation>Auflegen planen</translation>
    </message>
    <message>
        <source>Stop hangup sequence</source>
        <translation>Geplantes Auflegen anhalten</translation>
    </message>
    <message>
        <source>Hangup sequence terminated</source>
        <translation>Geplantes Auflegen beendet</translation>
    </message>
</context>
<context>
    <name>CTimerPage</name>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
</context>
<context>
    <name>CTrayMenus</name>
    <message>
        <source>&amp;Show Orvalis</source>
        <translation>Orvalis &amp;anzeigen</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Verbinden</translation>
    </message>
    <message>
        <source>&amp;Hangup</source>
        <translation>&amp;Auflegen</translation>
    </message>
    <message>
        <source>Inet Tools</source>
        <translation>Netzwerkwerkzeuge</translation>
    </message>
    <message>
        <source>Check for new mail</source>
        <translation>Nach neuen E-Mails sehen</translation>
    </message>
    <message>
        <source>Configuration - General</source>
        <translation>Einstellungen - Allgemein</translation>
    </message>
    <message>
        <source>Configuration - Connection</source>
        <translation>Einstellungen - Verbindung</translation>
    </message>
    <message>
        <source>Configuration - Email Watch</source>
        <translation>Einstellungen - E-Mail-Überwachung</translation>
    </message>
    <message>
        <source>Configuration - Warnings</source>
        <translation>Einstellungen - Warnungen</translation>
    </message>
    <message>
        <source>Configuration - Price</source>
        <translation>Einstellungen - Preis</translation>
    </message>
    <message>
        <source>Configuration - Sounds</source>
        <translation>Einstellungen - Klänge</translation>
    </message>
    <message>
        <source>Configuration - Upgrade</source>
        <translation>Einstellungen - Aktualisierung</translation>
    </message>
    <message>
        <source>Configuration - Connections</source>
        <translation>Einstellungen - Verbindungen</translation>
    </message>
    <message>
        <source>Configuration - Security</source>
        <translation>Einstellungen - Sicherheit</translation>
    </message>
    <message>
        <source>Configuration - Timer</source>
        <translation>Einstellungen - Zeitplan</translation>
    </message>
    <message>
        <source>&amp;Report</source>
        <translation>&amp;Bericht</translation>
    </message>
    <message>
        <source>&amp;Summary</source>
        <translation>Ü&amp;bersicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>B&amp;eenden</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Configuration - Data plan</source>
        <translation>Konfiguration - Datentarif</translation>
    </message>
    <message>
        <source>Check for Orvalis update</source>
        <translation>Nach Orvalis-Update suchen</translation>
    </message>
    <message>
        <source>S&amp;tatistics</source>
        <translation>S&amp;tatistik</translation>
    </message>
</context>
<context>
    <name>CUpgradeDialCheck</name>
    <message>
        <source>Please visit %1 to see whether a newer version is available.</source>
        <translation>Auf %1 sehen Sie, ob eine neuere Version verfügbar ist.</translation>
    </message>
    <message>
        <source>No update available. Please try again later.</source>
        <translation>Keine neue Version verfügbar. Bitte versuchen Sie es später noch einmal.</translation>
    </message>
    <message>
        <source>Error: cannot connect to the server.</source>
        <translation>Fehler: keine Verbindung zum Server.</translation>
    </message>
</context>
<context>
    <name>CUsageAlerts</name>
    <message>
        <source>%1 % of your data used</source>
        <translation>%1 % Ihres Datenvolumens verbraucht</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %2 used, %n day(s) left in this cycle</source>
        <translation>
            <numerusform>%1 von %2 verbraucht, noch %n Tag in diesem Zeitraum</numerusform>
            <numerusform>%1 von %2 verbraucht, noch %n Tage in diesem Zeitraum</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CWarningsOptions</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
</context>
</TS>
