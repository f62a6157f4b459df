<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Orvalis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watches your dial-up and metered connections and tells you what every call costs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAutoDialRule</name>
    <message>
        <source>Your data allowance is used up until %1. Dial anyway?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAutostart</name>
    <message>
        <source>Orvalis cannot be started with the desktop from where it is: the path of the program, %1, holds a line break, a tab or another control character, which a desktop entry cannot carry. No entry was written; move the program to a folder with a plain name and tick the option again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCompositionRoot</name>
    <message>
        <source>The traffic counters could not be started: bytes in and out are not counted until Orvalis is started again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConnectionMonitor</name>
    <message>
        <source>Connection %1 detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected - %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not connected...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning - cost per month too high. See Preferences-&gt;Warnings. Connection closed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning - cost per call too high. See Preferences-&gt;Warnings. Connection closed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for connection...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have %1 new email(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No redial: the data allowance is used up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No scheduled dial: the data allowance is used up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning - cost per month too high. See Preferences-&gt;Warnings. Cost: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning - cost per call too high. See Preferences-&gt;Warnings. Cost: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown error: the list of connections cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are about to hang up an active connection. Are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error connecting to the email server.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConnectionsDlg</name>
    <message>
        <source>Connections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set as default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCredentialsDlg</name>
    <message>
        <source>Orvalis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remember user name and password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCredentialsFlow</name>
    <message>
        <source>Connection %1 user name and password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select the default connection to dial. You must do this only once.
Click the connection you want as default, click Set as default, then click Hide.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the user name and password used to connect to the remote server (internet).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select the default connection to dial. You must do this only once.
Double-click the connection you want as default, then click Hide.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCycleUsage</name>
    <message numerus="yes">
        <source>%1 of %2 used (%3 %), %n day(s) left</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CDataPlanOptions</name>
    <message>
        <source>Please enter a day of the month from 1 to 31.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the allowance in GB as a number such as 30 or 2.5, or leave it empty for no plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a price of 0 or more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter percentages from 1 to 1000, separated by commas, such as 80,100.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDefaultDial</name>
    <message>
        <source>Connecting...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDesktopNotifier</name>
    <message>
        <source>Hang up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDialDlg</name>
    <message>
        <source>Orvalis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to server...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDialSession</name>
    <message>
        <source>Opening the port...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port has been opened successfully</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to the device...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device has connected successfully.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All devices in the device chain have successfully connected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying the user name and password...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Authentication...
Please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Requested another validation attempt with a new user.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server has requested a callback number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client has requested to change the password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Registering your computer on the network...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link-speed calculation phase is starting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An authentication request is being acknowledged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client has successfully completed authentication.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The line is about to disconnect for callback.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delaying to give the modem time to reset for callback.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for an incoming call from server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projection result information is available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User authentication is being initiated or retried.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client has been called back and is about to resume authentication.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logging on to the network...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subentry has been connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subentry has been disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line is busy.
Redialing, please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reauthentication (after callback) is starting.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for input in the terminal window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for a new user name and password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for a callback number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password has expired and must be changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to the remote server.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown dialing error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown dialing error (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CGeneralOptions</name>
    <message>
        <source>The log folder cannot hold a line break or a NUL character. The log stays in %1; choose another folder to move it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHelpOpener</name>
    <message>
        <source>The help is not installed. It was looked for in:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No web browser could be started to show the help. The help is in: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CInetToolsDlg</name>
    <message>
        <source>Inet Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Host/IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ping</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMailDialCheck</name>
    <message>
        <source>You have %1 new email(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error connecting to the server.
Check your email settings!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no new emails.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mail server is set.
Enter one in the preferences, on the Email page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This certificate is trusted now. Check mail again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system does not trust the certificate of %1, port %2.
SHA-256 fingerprint:
%3

Trust exactly this certificate for this server from now on?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trust this certificate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMailFailure</name>
    <message>
        <source>The server refused the user name or password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server was not found (check its name).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server cannot be reached or refused the connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server did not answer in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent no greeting; it may expect TLS from the start (choose TLS instead of STARTTLS).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted.
SHA-256 fingerprint: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s certificate is for another name.
SHA-256 fingerprint: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused STARTTLS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server closed the connection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s answer was not understood.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMainDlg</name>
    <message>
        <source>Connection info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bytes out:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System messages will go here!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome to Orvalis!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inet Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking mail...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bytes in:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email count:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are about to exit Orvalis. Are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The traffic counters did not stop in time. Orvalis ends anyway.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMessageBox</name>
    <message>
        <source>Are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMessageListModel</name>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNameLookup</name>
    <message>
        <source>Can&apos;t resolve %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNameLookupPage</name>
    <message>
        <source>Resolve host to IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host: (www.debian.org)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host to IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP to Host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get IP address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get host name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolve IP address to host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP address: (127.0.0.1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNetworkManagerAccess</name>
    <message>
        <source>No connection editor is installed. Install nm-connection-editor (package network-manager-gnome), or use nmtui or nmcli in a terminal.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COkCancelButtons</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptConnectionPage</name>
    <message>
        <source>Launch default WEB browser after connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do nothing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto hangup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stay online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mins inactive/active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redial a maximum of</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not redial at all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically redial when connection is closed by remote server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default URL:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If line is busy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redial until connected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptDataPlanPage</name>
    <message>
        <source>Received and sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warn only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hang up and do not dial on its own until the next cycle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>empty: no plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 GB = 1,000,000,000 bytes, as carriers count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cycle starts on day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allowance (GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Counts against it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Price per GB past it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warn at (%, comma-separated)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At the limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This cycle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No data plan set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cycle: %1 to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At this rate: %1 by the cycle&apos;s end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily budget: %1 a day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cost so far: %1, projected: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptGeneralPage</name>
    <message>
        <source>Show main window when starting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show splash screen when starting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask when closing connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask before exiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logfile creating/reading path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select directory for logfile creating/reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Orvalis when I log in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show main window when connected, then hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvalis can start by itself when you log in (recommended). Otherwise you have to start Orvalis yourself.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptMailPage</name>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check incoming mail every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail checking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mail user/server settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STARTTLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSL/TLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check email now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check email immediately upon connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvalis can periodically check your incoming mail and display the count of new messages. You must supply your email server, user name and password in order to use this function.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>POP server</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptPricePage</name>
    <message>
        <source>Price per dial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cost per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cheap cost per minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cheap time from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection block step (mins)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free time in each month (please use hh:mm format)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always cheap time on Saturdays</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always cheap time on Sundays</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptSoundPage</name>
    <message>
        <source>When connection is made</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When connection is terminated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do nothing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play this file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound files (*.wav)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When a connection is made, Orvalis can beep (available on most computers) or play a WAV file (a sound card must be installed).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beep through computer speaker</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptUpgradePage</name>
    <message>
        <source>Disable upgrade notification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvalis can periodically ask its web site whether a newer major version is available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for an upgrade now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptWarningsPage</name>
    <message>
        <source>Warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto hangup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warn when cost per month exceeds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warn when cost per call exceeds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect when cost per month exceeds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect when cost per call exceeds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvalis can warn you if the cost reaches the selected amount. When it is reached, a message appears.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvalis can even disconnect from the internet if the cost reaches the selected amount. When it is reached, a message appears and the connection is closed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPasswordPrompt</name>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password incorrect. Please try again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the password.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPhonebookActions</name>
    <message>
        <source>Please select entry to dial first. Or create it, using Add...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select entry to delete first. Or create it, using Add...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select entry first. Just single-click on it...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection editor could not be opened (error %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are about to delete entry %1. Are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPingLine</name>
    <message>
        <source>[Ping] %1 [%2], replied in RTT:%3 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ping] Error %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: this system lets no one without CAP_NET_RAW send pings (net.ipv4.ping_group_range). To allow every user, run as root: sysctl -w net.ipv4.ping_group_range=&quot;0 2147483647&quot; and, to keep it, put net.ipv4.ping_group_range = 0 2147483647 in a file in /etc/sysctl.d/.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[Ping] Error %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPingPage</name>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ping specified host.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host: (127.0.0.1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ping</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPingStatus</name>
    <message>
        <source>Reply did not match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination network unreachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination host unreachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination protocol unreachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination port unreachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packet too big</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request timed out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time to live expired in transit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time to live expired during reassembly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter problem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source quench</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General failure</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlanWatch</name>
    <message>
        <source>Your data allowance of %1 is used up. Connection closed. Nothing is dialled on its own until the next cycle.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1/%2 GB, %3 %, %n day(s) left</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CPreferencesDlg</name>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvalis Preferences</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPreferencesSheet</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Price</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data plan</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CReportDlg</name>
    <message>
        <source>Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the log... %p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CScheduleDlg</name>
    <message>
        <source>Timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangup</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CScheduleTicker</name>
    <message>
        <source>Dial sequence stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangup sequence stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dialing at : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangup at : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time remaining : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dial waits for the open window to close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSecurityDlg</name>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable password protection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask password when starting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask password when changing configuration only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSecuritySettings</name>
    <message>
        <source>Please enter passwords</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passwords you typed don&apos;t match. Please enter the same password in both boxes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A password is set. Leave both fields empty to keep it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password could not be saved in %1. The old password stays in force.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please choose when the password is asked: when starting, or when changing the configuration.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSelfClosingBox</name>
    <message numerus="yes">
        <source>Without an answer this box closes itself in %n second(s) and answers No.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Without an answer this box closes itself in %n second(s) and answers Yes.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>The button the box presses when the time is up, with the seconds left: &quot;Yes (30)&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CStatisticsCharts</name>
    <message>
        <source>Data (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calls: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cost: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allowance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By billing cycle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By hour of the day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used: %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1:00 to %2:00</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CStatisticsDlg</name>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This cycle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last cycle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 12 cycles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Range:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ycles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Top days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save chart as &amp;PNG...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save figures as &amp;CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the log...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No calls in this range</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n call(s) from %1 to %2</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(%n line(s) without a valid date left out)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save figures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSummaryDlg</name>
    <message>
        <source>Summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only this month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSummaryText</name>
    <message>
        <source>Connections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total time online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total cost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average cost per connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total data uploaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total data downloaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total data transmitted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average connection length</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTimeQuery</name>
    <message>
        <source>Cannot resolve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot establish connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to get time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTimeQueryPage</name>
    <message>
        <source>Get time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Internet time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current computer clock time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current GMT internet time:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTimerConnectPage</name>
    <message>
        <source>Start dialing at time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start dialing in:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start dialup sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop dialup sequence</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTimerHangupPage</name>
    <message>
        <source>Start Hangup at time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Hangup in:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start hangup sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop hangup sequence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hangup sequence terminated</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTimerPage</name>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTrayMenus</name>
    <message>
        <source>&amp;Show Orvalis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hangup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inet Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for new mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Email Watch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Price</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Sounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Connections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Timer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration - Data plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for Orvalis update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;tatistics</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CUpgradeDialCheck</name>
    <message>
        <source>Please visit %1 to see whether a newer version is available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No update available. Please try again later.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error: cannot connect to the server.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CUsageAlerts</name>
    <message>
        <source>%1 % of your data used</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 of %2 used, %n day(s) left in this cycle</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CWarningsOptions</name>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
