#pragma once

#include <filesystem>
#include <string>

// How an MQTT source proves who it is and checks its broker: the files of a TLS link and a
// login. A password never stands in a form, on a command line, in a log or in the history; it is
// read from a file only its owner can read, or from the environment.
namespace merv::panel {

struct MqttSecurity {
    std::string caFile;   // the CA that signed the broker's certificate; empty: the system's
    std::string certFile; // this station's own certificate and key, for brokers that ask
    std::string keyFile;
    std::string user;
    std::string passwordFile;

    bool operator==(const MqttSecurity&) const = default;
};

// Where a station takes its password from when no file is named.
inline constexpr const char* PasswordVariable = "MERVGAUGE_MQTT_PASSWORD";

// Each field of over that is set replaces base's: the command line over the form.
MqttSecurity overridden(MqttSecurity base, const MqttSecurity& over);
// The form's relative paths, which name files beside the form.
MqttSecurity resolvedBeside(MqttSecurity security, const std::filesystem::path& formFile);

// The first line of a password file. Throws SourceError when the file cannot be read, is not a
// regular file or can be read by anyone but its owner.
std::string readPasswordFile(const std::filesystem::path& path);

} // namespace merv::panel
