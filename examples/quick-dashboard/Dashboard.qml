// Three gauges bound to one simulated signal, and the alarms their events raise in a list.
import QtQuick
import MERVGauge

Window {
    id: window
    width: 560
    height: 320
    visible: true
    title: "Quick dashboard"

    // Each alarm as the list shows it, also handed to the program.
    signal alarmRaised(string text)

    // The simulated signal: a phase that a timer advances, and three readings from it.
    property real phase: 0
    readonly property real pressure: 8 + 7 * Math.sin(phase)
    readonly property real temperature: 150 + 140 * Math.sin(phase + 1)
    readonly property real level: 50 + 45 * Math.cos(phase)

    Timer {
        interval: 100
        running: true
        repeat: true
        onTriggered: window.phase += 0.2
    }

    function raise(gauge, what) {
        const text = what + ": " + gauge.VariableName + " at " + gauge.shownValueText
        alarms.insert(0, { "text": text })
        window.alarmRaised(text)
    }

    ListModel { id: alarms }

    Row {
        id: gauges
        spacing: 8
        x: 8
        y: 8

        MervGauge {
            variableName: "Pressure"
            engUnit: "bar"
            precision: 1
            maxValue: 16
            alarmHighVal: 14
            warningHighVal: 12
            alarmLowVal: 2
            warningLowVal: 4
            value: window.pressure
            onOnAlarmHigh: window.raise(this, "High alarm")
            onOnAlarmLow: window.raise(this, "Low alarm")
        }
        MervGauge {
            variableName: "Flue gas"
            engUnit: "°C"
            maxValue: 300
            alarmHighVal: 270
            warningHighVal: 240
            alarmLowVal: 30
            warningLowVal: 60
            value: window.temperature
            onOnAlarmHigh: window.raise(this, "High alarm")
            onOnWarningHigh: window.raise(this, "High warning")
        }
        MervGauge {
            variableName: "Level"
            engUnit: "%"
            value: window.level
            normalQColor: "#4080ff"
            onOnAlarmLow: window.raise(this, "Low alarm")
        }
    }

    ListView {
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom; margins: 8 }
        anchors.top: gauges.bottom
        anchors.topMargin: 8
        clip: true
        model: alarms
        delegate: Text { text: model.text }
    }
}
