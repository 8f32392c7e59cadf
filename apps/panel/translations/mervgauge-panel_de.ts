<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>merv::panel::AlarmHistoryModel</name>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A history row&apos;s gauge: its caption, then its tag.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Time (%1)</source>
        <translation>Zeit (%1)</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Transition</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Bediener</translation>
    </message>
</context>
<context>
    <name>merv::panel::AlarmSummaryModel</name>
    <message>
        <source>Station</source>
        <extracomment>The kind of an alarm of the operator station itself, not of a gauge.</extracomment>
        <translation>Station</translation>
    </message>
    <message>
        <source>Active, unacknowledged</source>
        <translation>Aktiv, nicht quittiert</translation>
    </message>
    <message>
        <source>Active, acknowledged</source>
        <translation>Aktiv, quittiert</translation>
    </message>
    <message>
        <source>Returned, unacknowledged</source>
        <translation>Gegangen, nicht quittiert</translation>
    </message>
    <message>
        <source>OnAlarmHigh</source>
        <extracomment>An alarm kind: the value rose above the high alarm threshold.</extracomment>
        <translation>Alarm oben</translation>
    </message>
    <message>
        <source>OnAlarmLow</source>
        <extracomment>An alarm kind: the value fell below the low alarm threshold.</extracomment>
        <translation>Alarm unten</translation>
    </message>
    <message>
        <source>OnWarningHigh</source>
        <extracomment>An alarm kind: the value rose above the high warning threshold.</extracomment>
        <translation>Warnung oben</translation>
    </message>
    <message>
        <source>OnWarningLow</source>
        <extracomment>An alarm kind: the value fell below the low warning threshold.</extracomment>
        <translation>Warnung unten</translation>
    </message>
    <message>
        <source>raised</source>
        <extracomment>What happened to an alarm: it came.</extracomment>
        <translation>gekommen</translation>
    </message>
    <message>
        <source>acknowledged</source>
        <extracomment>What happened to an alarm: an operator acknowledged it.</extracomment>
        <translation>quittiert</translation>
    </message>
    <message>
        <source>returned</source>
        <extracomment>What happened to an alarm: its value went back to normal.</extracomment>
        <translation>gegangen</translation>
    </message>
    <message>
        <source>High</source>
        <extracomment>An alarm&apos;s priority.</extracomment>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Low</source>
        <extracomment>An alarm&apos;s priority.</extracomment>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Time (%1)</source>
        <extracomment>The column of alarm times; %1 names the time zone they show in.</extracomment>
        <translation>Zeit (%1)</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorität</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>carried over</source>
        <extracomment>Follows an alarm&apos;s state in the summary: the alarm was raised before the panel started.</extracomment>
        <translation>übernommen</translation>
    </message>
    <message>
        <source>Carried over: raised before the panel started, rebuilt from the alarm history</source>
        <translation>Übernommen: vor dem Start des Panels ausgelöst, aus der Alarmhistorie wiederhergestellt</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>merv::panel::DataSource</name>
    <message>
        <source>%1 value(s) dropped, %2 since the last notice: they came faster than the panel could take them</source>
        <translation>%1 Werte verworfen, %2 seit dem letzten Hinweis: sie kamen schneller, als das Panel sie übernehmen konnte</translation>
    </message>
</context>
<context>
    <name>merv::panel::DisplayZone</name>
    <message>
        <source>local time</source>
        <translation>Ortszeit</translation>
    </message>
</context>
<context>
    <name>merv::panel::GaugeCell</name>
    <message>
        <source>Bad quality</source>
        <translation>Qualität schlecht</translation>
    </message>
</context>
<context>
    <name>merv::panel::HistoryDialog</name>
    <message>
        <source>Alarm history</source>
        <translation>Alarmhistorie</translation>
    </message>
    <message>
        <source>(all)</source>
        <translation>(alle)</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>From (%1)</source>
        <translation>Von (%1)</translation>
    </message>
    <message>
        <source>To (%1)</source>
        <translation>Bis (%1)</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A gauge in the history&apos;s choice: its caption, then its tag, when captions repeat.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>merv::panel::ModbusSource</name>
    <message>
        <source>cannot reach the server at %1: %2; retrying</source>
        <translation>Server %1 nicht erreichbar: %2; neuer Versuch</translation>
    </message>
    <message>
        <source>connected to %1</source>
        <translation>verbunden mit %1</translation>
    </message>
    <message>
        <source>lost the server at %1: %2; reconnecting</source>
        <translation>Verbindung zum Server %1 verloren: %2; verbinde neu</translation>
    </message>
    <message>
        <source>the server refused the register: %1</source>
        <translation>der Server hat das Register abgewiesen: %1</translation>
    </message>
    <message>
        <source>the registers hold no finite number</source>
        <translation>die Register enthalten keine endliche Zahl</translation>
    </message>
    <message>
        <source>the server&apos;s reply is no Modbus TCP frame</source>
        <translation>die Antwort des Servers ist kein Modbus-TCP-Rahmen</translation>
    </message>
    <message>
        <source>Modbus server at %1: discarded %2, never decoded; further ones are counted</source>
        <translation>Modbus-Server unter %1: %2 verworfen, nie ausgewertet; weitere werden gezählt</translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation>keine Antwort innerhalb von %1 ms</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>der Server hat die Verbindung geschlossen</translation>
    </message>
</context>
<context>
    <name>merv::panel::MqttSource</name>
    <message>
        <source>cannot reach the broker at %1: %2</source>
        <translation>Broker %1 nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>the broker at %1 refused the connection: %2</source>
        <translation>der Broker %1 hat die Verbindung abgelehnt: %2</translation>
    </message>
    <message>
        <source>cannot subscribe at %1: %2</source>
        <translation>Abonnieren bei %1 nicht möglich: %2</translation>
    </message>
    <message>
        <source>connected to %1</source>
        <translation>verbunden mit %1</translation>
    </message>
    <message>
        <source>lost the broker at %1; reconnecting</source>
        <translation>Verbindung zum Broker %1 verloren; verbinde neu</translation>
    </message>
    <message>
        <source>the broker refused the subscription to %1</source>
        <translation>der Broker hat das Abonnement von %1 abgelehnt</translation>
    </message>
    <message>
        <source>%1, process %2</source>
        <translation>%1, Prozess %2</translation>
    </message>
    <message>
        <source>the broker at %1 refused the login without a user: %2</source>
        <translation>der Broker unter %1 hat die Anmeldung ohne Benutzer abgelehnt: %2</translation>
    </message>
    <message>
        <source>the broker at %1 refused the login of user %2: %3</source>
        <translation>der Broker unter %1 hat die Anmeldung des Benutzers %2 abgelehnt: %3</translation>
    </message>
    <message>
        <source>; trying again with a growing delay</source>
        <translation>; neuer Versuch mit wachsender Wartezeit</translation>
    </message>
    <message>
        <source>cannot connect to the broker at %1: %2; trying again with a growing delay</source>
        <translation>keine Verbindung zum Broker unter %1: %2; neuer Versuch mit wachsender Wartezeit</translation>
    </message>
</context>
<context>
    <name>merv::panel::PanelController</name>
    <message>
        <source>Alarm history not writable: %1 — %2 transition(s) kept</source>
        <translation>Alarmhistorie nicht beschreibbar: %1 — %2 Übergänge zurückgehalten</translation>
    </message>
    <message>
        <source>%1 lost</source>
        <extracomment>Transitions that could not be kept while the history was not writable.</extracomment>
        <translation>%1 verloren</translation>
    </message>
    <message>
        <source>Bad payload: %1</source>
        <translation>Ungültige Nachricht: %1</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>Disconnected: %1</source>
        <translation>Getrennt: %1</translation>
    </message>
    <message>
        <source>Stale: no update for over %1 ms</source>
        <translation>Veraltet: seit über %1 ms keine Aktualisierung</translation>
    </message>
    <message>
        <source>Doubtful: the value&apos;s time is %1 s ahead of the panel&apos;s clock</source>
        <translation>Zweifelhaft: die Zeit des Werts liegt %1 s vor der Uhr des Panels</translation>
    </message>
    <message>
        <source>Doubtful: the value was measured %1 s before it arrived, longer than its stale time</source>
        <translation>Zweifelhaft: der Wert wurde %1 s vor seinem Eintreffen gemessen, länger als seine Veraltungszeit</translation>
    </message>
    <message>
        <source>Refused: %1</source>
        <translation>Abgelehnt: %1</translation>
    </message>
    <message>
        <source>Another panel is running under this station&apos;s name %1 (%2): the two miss each other&apos;s acknowledgements; give each panel its own --station</source>
        <extracomment>%1 is this station&apos;s name, %2 where the other panel runs (&quot;host, process 123&quot;).</extracomment>
        <translation>Ein anderes Panel läuft unter dem Namen dieser Station %1 (%2): die beiden verpassen gegenseitig ihre Quittierungen; geben Sie jedem Panel eine eigene --station</translation>
    </message>
    <message>
        <source>No data yet</source>
        <extracomment>A gauge&apos;s quality before its source sent it a value: it shows the form&apos;s start value.</extracomment>
        <translation>Noch keine Daten</translation>
    </message>
    <message>
        <source>station %1 gives a time %2 s ahead of this panel&apos;s clock</source>
        <translation>Station %1 nennt eine Zeit %2 s vor der Uhr dieses Panels</translation>
    </message>
    <message>
        <source>station %1 acknowledged %2 %3, which has no unacknowledged alarm here raised before then</source>
        <translation>Station %1 hat %2 %3 quittiert, wofür hier kein vorher ausgelöster, nicht quittierter Alarm besteht</translation>
    </message>
    <message>
        <source>Refused an acknowledgement (%1): %2; further ones of this kind are counted</source>
        <translation>Quittierung abgelehnt (%1): %2; weitere dieser Art werden gezählt</translation>
    </message>
    <message>
        <source>Retained: published before this panel subscribed; no live value yet</source>
        <extracomment>A value the broker kept from before the panel subscribed; no live one has come yet.</extracomment>
        <translation>Gespeichert: vor dem Abonnieren dieses Panels veröffentlicht; noch kein aktueller Wert</translation>
    </message>
    <message>
        <source>Doubtful: the value was measured %1 s before it arrived, more than the clocks may differ (--max-skew)</source>
        <translation>Zweifelhaft: der Wert wurde %1 s vor seinem Eintreffen gemessen, mehr als die Uhren abweichen dürfen (--max-skew)</translation>
    </message>
</context>
<context>
    <name>merv::panel::PanelWindow</name>
    <message>
        <source>%1 %</source>
        <extracomment>A zoom factor in View → Zoom, in percent.</extracomment>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Acknowledge</source>
        <translation>Quittieren</translation>
    </message>
    <message>
        <source>Acknowledge All</source>
        <translation>Alle quittieren</translation>
    </message>
    <message>
        <source>Alarm summary</source>
        <translation>Alarmübersicht</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Öffnen…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter…</translation>
    </message>
    <message>
        <source>Alarm &amp;History…</source>
        <translation>Alarm&amp;historie…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Zoom</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>&amp;Fit to Window</source>
        <translation>An &amp;Fenster anpassen</translation>
    </message>
    <message>
        <source>%1 — %2 unacknowledged</source>
        <translation>%1 — %2 nicht quittiert</translation>
    </message>
    <message>
        <source>Source: %1 — %2 — %3 gauge(s) of bad quality</source>
        <translation>Quelle: %1 — %2 — %3 Anzeige(n) mit schlechter Qualität</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <source>disconnected</source>
        <translation>getrennt</translation>
    </message>
    <message>
        <source>Properties…</source>
        <translation>Eigenschaften…</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save form</source>
        <translation>Formular speichern</translation>
    </message>
    <message>
        <source>Open form</source>
        <translation>Formular öffnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message numerus="yes">
        <source>%n new alarm(s) above</source>
        <extracomment>The bar above the alarm summary once the operator scrolled down; a click on it returns to the newest alarms.</extracomment>
        <translation>
            <numerusform>%n neuer Alarm oben</numerusform>
            <numerusform>%n neue Alarme oben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>This form has %n unacknowledged alarm(s).</source>
        <translation>
            <numerusform>Dieses Formular hat %n unquittierten Alarm.</numerusform>
            <numerusform>Dieses Formular hat %n unquittierte Alarme.</numerusform>
        </translation>
    </message>
    <message>
        <source>Opening another form takes them out of the alarm summary unacknowledged. They stay in the alarm history and are carried over when this form is opened again.</source>
        <translation>Beim Öffnen eines anderen Formulars verschwinden sie unquittiert aus der Alarmübersicht. Sie bleiben in der Alarmhistorie und werden übernommen, wenn dieses Formular wieder geöffnet wird.</translation>
    </message>
    <message>
        <source>&amp;Open and Discard</source>
        <translation>Ö&amp;ffnen und verwerfen</translation>
    </message>
    <message>
        <source>&amp;Keep This Form</source>
        <translation>Dieses Formular &amp;behalten</translation>
    </message>
    <message>
        <source>Designed forms (*.ui)</source>
        <translation>Gezeichnete Formulare (*.ui)</translation>
    </message>
    <message>
        <source>Panel forms (*.json);;Designed forms (*.ui)</source>
        <translation>Panel-Formulare (*.json);;Gezeichnete Formulare (*.ui)</translation>
    </message>
    <message>
        <source>Panel forms (*.json *.ui);;Grid forms (*.json);;Designed forms (*.ui)</source>
        <translation>Panel-Formulare (*.json *.ui);;Rasterformulare (*.json);;Gezeichnete Formulare (*.ui)</translation>
    </message>
</context>
<context>
    <name>merv::panel::SimSource</name>
    <message>
        <source>sim (seed %1)</source>
        <translation>sim (Startwert %1)</translation>
    </message>
    <message>
        <source>the simulated plant has no tag &quot;%1&quot; (it has %2); the simulator makes its values up from the gauge&apos;s range</source>
        <translation>die simulierte Anlage hat kein Tag „%1“ (sie hat %2); der Simulator erfindet die Werte aus dem Bereich der Anzeige</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>angehalten</translation>
    </message>
</context>
<context>
    <name>merv::panel::StdinSource</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 nicht lesbar: %2</translation>
    </message>
    <message>
        <source>end of input</source>
        <translation>Ende der Eingabe</translation>
    </message>
</context>
</TS>
