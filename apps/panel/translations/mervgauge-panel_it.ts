<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>merv::panel::AlarmHistoryModel</name>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A history row&apos;s gauge: its caption, then its tag.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Time (%1)</source>
        <translation>Ora (%1)</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>Postazione</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variabile</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Transition</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valore</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operatore</translation>
    </message>
</context>
<context>
    <name>merv::panel::AlarmSummaryModel</name>
    <message>
        <source>Station</source>
        <extracomment>The kind of an alarm of the operator station itself, not of a gauge.</extracomment>
        <translation>Postazione</translation>
    </message>
    <message>
        <source>Active, unacknowledged</source>
        <translation>Attivo, non riconosciuto</translation>
    </message>
    <message>
        <source>Active, acknowledged</source>
        <translation>Attivo, riconosciuto</translation>
    </message>
    <message>
        <source>Returned, unacknowledged</source>
        <translation>Rientrato, non riconosciuto</translation>
    </message>
    <message>
        <source>OnAlarmHigh</source>
        <extracomment>An alarm kind: the value rose above the high alarm threshold.</extracomment>
        <translation>Allarme alto</translation>
    </message>
    <message>
        <source>OnAlarmLow</source>
        <extracomment>An alarm kind: the value fell below the low alarm threshold.</extracomment>
        <translation>Allarme basso</translation>
    </message>
    <message>
        <source>OnWarningHigh</source>
        <extracomment>An alarm kind: the value rose above the high warning threshold.</extracomment>
        <translation>Preallarme alto</translation>
    </message>
    <message>
        <source>OnWarningLow</source>
        <extracomment>An alarm kind: the value fell below the low warning threshold.</extracomment>
        <translation>Preallarme basso</translation>
    </message>
    <message>
        <source>raised</source>
        <extracomment>What happened to an alarm: it came.</extracomment>
        <translation>attivato</translation>
    </message>
    <message>
        <source>acknowledged</source>
        <extracomment>What happened to an alarm: an operator acknowledged it.</extracomment>
        <translation>riconosciuto</translation>
    </message>
    <message>
        <source>returned</source>
        <extracomment>What happened to an alarm: its value went back to normal.</extracomment>
        <translation>rientrato</translation>
    </message>
    <message>
        <source>High</source>
        <extracomment>An alarm&apos;s priority.</extracomment>
        <translation>Alta</translation>
    </message>
    <message>
        <source>Low</source>
        <extracomment>An alarm&apos;s priority.</extracomment>
        <translation>Bassa</translation>
    </message>
    <message>
        <source>Time (%1)</source>
        <extracomment>The column of alarm times; %1 names the time zone they show in.</extracomment>
        <translation>Ora (%1)</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variabile</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valore</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorità</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Stato</translation>
    </message>
    <message>
        <source>carried over</source>
        <extracomment>Follows an alarm&apos;s state in the summary: the alarm was raised before the panel started.</extracomment>
        <translation>ripreso</translation>
    </message>
    <message>
        <source>Carried over: raised before the panel started, rebuilt from the alarm history</source>
        <translation>Ripreso: scattato prima dell&apos;avvio del pannello, ricostruito dallo storico allarmi</translation>
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
        <translation>%1 valori scartati, %2 dall'ultimo avviso: arrivavano più in fretta di quanto il pannello potesse prenderli</translation>
    </message>
</context>
<context>
    <name>merv::panel::DisplayZone</name>
    <message>
        <source>local time</source>
        <translation>ora locale</translation>
    </message>
</context>
<context>
    <name>merv::panel::GaugeCell</name>
    <message>
        <source>Bad quality</source>
        <translation>Qualità scarsa</translation>
    </message>
</context>
<context>
    <name>merv::panel::HistoryDialog</name>
    <message>
        <source>Alarm history</source>
        <translation>Storico allarmi</translation>
    </message>
    <message>
        <source>(all)</source>
        <translation>(tutte)</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Mostra</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variabile</translation>
    </message>
    <message>
        <source>From (%1)</source>
        <translation>Da (%1)</translation>
    </message>
    <message>
        <source>To (%1)</source>
        <translation>A (%1)</translation>
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
        <translation>impossibile raggiungere il server %1: %2; nuovo tentativo</translation>
    </message>
    <message>
        <source>connected to %1</source>
        <translation>connesso a %1</translation>
    </message>
    <message>
        <source>lost the server at %1: %2; reconnecting</source>
        <translation>connessione al server %1 persa: %2; riconnessione</translation>
    </message>
    <message>
        <source>the server refused the register: %1</source>
        <translation>il server ha rifiutato il registro: %1</translation>
    </message>
    <message>
        <source>the registers hold no finite number</source>
        <translation>i registri non contengono un numero finito</translation>
    </message>
    <message>
        <source>the server&apos;s reply is no Modbus TCP frame</source>
        <translation>la risposta del server non è un frame Modbus TCP</translation>
    </message>
    <message>
        <source>Modbus server at %1: discarded %2, never decoded; further ones are counted</source>
        <translation>server Modbus %1: scartato %2, mai decodificato; gli altri vengono contati</translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation>nessuna risposta entro %1 ms</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>il server ha chiuso la connessione</translation>
    </message>
</context>
<context>
    <name>merv::panel::MqttSource</name>
    <message>
        <source>cannot reach the broker at %1: %2</source>
        <translation>impossibile raggiungere il broker %1: %2</translation>
    </message>
    <message>
        <source>the broker at %1 refused the connection: %2</source>
        <translation>il broker %1 ha rifiutato la connessione: %2</translation>
    </message>
    <message>
        <source>cannot subscribe at %1: %2</source>
        <translation>impossibile sottoscrivere presso %1: %2</translation>
    </message>
    <message>
        <source>connected to %1</source>
        <translation>connesso a %1</translation>
    </message>
    <message>
        <source>lost the broker at %1; reconnecting</source>
        <translation>connessione al broker %1 persa; riconnessione</translation>
    </message>
    <message>
        <source>the broker refused the subscription to %1</source>
        <translation>il broker ha rifiutato la sottoscrizione a %1</translation>
    </message>
    <message>
        <source>%1, process %2</source>
        <translation>%1, processo %2</translation>
    </message>
    <message>
        <source>the broker at %1 refused the login without a user: %2</source>
        <translation>il broker %1 ha rifiutato l&apos;accesso senza utente: %2</translation>
    </message>
    <message>
        <source>the broker at %1 refused the login of user %2: %3</source>
        <translation>il broker %1 ha rifiutato l&apos;accesso dell&apos;utente %2: %3</translation>
    </message>
    <message>
        <source>; trying again with a growing delay</source>
        <translation>; nuovo tentativo con attesa crescente</translation>
    </message>
    <message>
        <source>cannot connect to the broker at %1: %2; trying again with a growing delay</source>
        <translation>impossibile connettersi al broker %1: %2; nuovo tentativo con attesa crescente</translation>
    </message>
</context>
<context>
    <name>merv::panel::PanelController</name>
    <message>
        <source>Alarm history not writable: %1 — %2 transition(s) kept</source>
        <translation>Storico allarmi non scrivibile: %1 — %2 transizioni in attesa</translation>
    </message>
    <message>
        <source>%1 lost</source>
        <extracomment>Transitions that could not be kept while the history was not writable.</extracomment>
        <translation>%1 perse</translation>
    </message>
    <message>
        <source>Bad payload: %1</source>
        <translation>Messaggio non valido: %1</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Disconnesso</translation>
    </message>
    <message>
        <source>Disconnected: %1</source>
        <translation>Disconnesso: %1</translation>
    </message>
    <message>
        <source>Stale: no update for over %1 ms</source>
        <translation>Non aggiornato: nessun dato da oltre %1 ms</translation>
    </message>
    <message>
        <source>Doubtful: the value&apos;s time is %1 s ahead of the panel&apos;s clock</source>
        <translation>Dubbio: l&apos;ora del valore è %1 s avanti rispetto all&apos;orologio del pannello</translation>
    </message>
    <message>
        <source>Doubtful: the value was measured %1 s before it arrived, longer than its stale time</source>
        <translation>Dubbio: il valore è stato misurato %1 s prima del suo arrivo, oltre il suo tempo di validità</translation>
    </message>
    <message>
        <source>Refused: %1</source>
        <translation>Rifiutato: %1</translation>
    </message>
    <message>
        <source>Another panel is running under this station&apos;s name %1 (%2): the two miss each other&apos;s acknowledgements; give each panel its own --station</source>
        <extracomment>%1 is this station&apos;s name, %2 where the other panel runs (&quot;host, process 123&quot;).</extracomment>
        <translation>Un altro pannello è in esecuzione con il nome di questa stazione %1 (%2): i due perdono i riconoscimenti l&apos;uno dell&apos;altro; date a ogni pannello la propria --station</translation>
    </message>
    <message>
        <source>No data yet</source>
        <extracomment>A gauge&apos;s quality before its source sent it a value: it shows the form&apos;s start value.</extracomment>
        <translation>Nessun dato ancora</translation>
    </message>
    <message>
        <source>station %1 gives a time %2 s ahead of this panel&apos;s clock</source>
        <translation>la stazione %1 indica un&apos;ora %2 s avanti rispetto all&apos;orologio di questo pannello</translation>
    </message>
    <message>
        <source>station %1 acknowledged %2 %3, which has no unacknowledged alarm here raised before then</source>
        <translation>la stazione %1 ha riconosciuto %2 %3, per cui qui non c&apos;è alcun allarme non riconosciuto scattato prima</translation>
    </message>
    <message>
        <source>Refused an acknowledgement (%1): %2; further ones of this kind are counted</source>
        <translation>Riconoscimento rifiutato (%1): %2; gli altri di questo tipo vengono contati</translation>
    </message>
    <message>
        <source>Retained: published before this panel subscribed; no live value yet</source>
        <extracomment>A value the broker kept from before the panel subscribed; no live one has come yet.</extracomment>
        <translation>Conservato: pubblicato prima della sottoscrizione di questo pannello; ancora nessun valore attuale</translation>
    </message>
    <message>
        <source>Doubtful: the value was measured %1 s before it arrived, more than the clocks may differ (--max-skew)</source>
        <translation>Dubbio: il valore è stato misurato %1 s prima del suo arrivo, più di quanto gli orologi possano differire (--max-skew)</translation>
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
        <translation>Riconosci</translation>
    </message>
    <message>
        <source>Acknowledge All</source>
        <translation>Riconosci tutti</translation>
    </message>
    <message>
        <source>Alarm summary</source>
        <translation>Riepilogo allarmi</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Apri…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salva</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Salva &amp;come…</translation>
    </message>
    <message>
        <source>Alarm &amp;History…</source>
        <translation>&amp;Storico allarmi…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Visualizza</translation>
    </message>
    <message>
        <source>&amp;Zoom</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>&amp;Fit to Window</source>
        <translation>&amp;Adatta alla finestra</translation>
    </message>
    <message>
        <source>%1 — %2 unacknowledged</source>
        <translation>%1 — %2 non riconosciuti</translation>
    </message>
    <message>
        <source>Source: %1 — %2 — %3 gauge(s) of bad quality</source>
        <translation>Sorgente: %1 — %2 — %3 indicatori con qualità scarsa</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>connessa</translation>
    </message>
    <message>
        <source>disconnected</source>
        <translation>disconnessa</translation>
    </message>
    <message>
        <source>Properties…</source>
        <translation>Proprietà…</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salva</translation>
    </message>
    <message>
        <source>Save form</source>
        <translation>Salva modulo</translation>
    </message>
    <message>
        <source>Open form</source>
        <translation>Apri modulo</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
    <message numerus="yes">
        <source>%n new alarm(s) above</source>
        <extracomment>The bar above the alarm summary once the operator scrolled down; a click on it returns to the newest alarms.</extracomment>
        <translation>
            <numerusform>%n nuovo allarme sopra</numerusform>
            <numerusform>%n nuovi allarmi sopra</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>This form has %n unacknowledged alarm(s).</source>
        <translation>
            <numerusform>Questo modulo ha %n allarme non riconosciuto.</numerusform>
            <numerusform>Questo modulo ha %n allarmi non riconosciuti.</numerusform>
        </translation>
    </message>
    <message>
        <source>Opening another form takes them out of the alarm summary unacknowledged. They stay in the alarm history and are carried over when this form is opened again.</source>
        <translation>Aprendo un altro modulo escono dal riepilogo allarmi non riconosciuti. Restano nello storico allarmi e vengono ripresi quando questo modulo viene riaperto.</translation>
    </message>
    <message>
        <source>&amp;Open and Discard</source>
        <translation>&amp;Apri e scarta</translation>
    </message>
    <message>
        <source>&amp;Keep This Form</source>
        <translation>&amp;Mantieni questo modulo</translation>
    </message>
    <message>
        <source>Designed forms (*.ui)</source>
        <translation>Moduli disegnati (*.ui)</translation>
    </message>
    <message>
        <source>Panel forms (*.json);;Designed forms (*.ui)</source>
        <translation>Moduli del pannello (*.json);;Moduli disegnati (*.ui)</translation>
    </message>
    <message>
        <source>Panel forms (*.json *.ui);;Grid forms (*.json);;Designed forms (*.ui)</source>
        <translation>Moduli del pannello (*.json *.ui);;Moduli a griglia (*.json);;Moduli disegnati (*.ui)</translation>
    </message>
</context>
<context>
    <name>merv::panel::SimSource</name>
    <message>
        <source>sim (seed %1)</source>
        <translation>sim (seme %1)</translation>
    </message>
    <message>
        <source>the simulated plant has no tag &quot;%1&quot; (it has %2); the simulator makes its values up from the gauge&apos;s range</source>
        <translation>l&apos;impianto simulato non ha il tag &quot;%1&quot; (ha %2); il simulatore ne inventa i valori entro la scala dell&apos;indicatore</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>fermato</translation>
    </message>
</context>
<context>
    <name>merv::panel::StdinSource</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>impossibile leggere %1: %2</translation>
    </message>
    <message>
        <source>end of input</source>
        <translation>fine dei dati in ingresso</translation>
    </message>
</context>
</TS>
