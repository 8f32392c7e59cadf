<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
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
        <source>From (%1)</source>
        <translation>Da (%1)</translation>
    </message>
    <message>
        <source>To (%1)</source>
        <translation>A (%1)</translation>
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
        <source>the broker refused the subscription</source>
        <translation>il broker ha rifiutato la sottoscrizione</translation>
    </message>
    <message>
        <source>connected to %1</source>
        <translation>connesso a %1</translation>
    </message>
    <message>
        <source>lost the broker at %1; reconnecting</source>
        <translation>connessione al broker %1 persa; riconnessione</translation>
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
        <source>Panel forms (*.json)</source>
        <translation>Moduli del pannello (*.json)</translation>
    </message>
    <message>
        <source>Open form</source>
        <translation>Apri modulo</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Apri</translation>
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
