#pragma once

#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace merv::test {

// A certificate authority of the test's own with a broker certificate it signed for 127.0.0.1
// only (so "localhost" is another name), a client certificate it signed, and an unrelated
// authority; made with the openssl command in a folder of the test's.
class TestCertificates {
public:
    TestCertificates() {
        const std::string dir = m_folder.path().string();
        const std::string subject = " -subj /CN=";
        run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout " + dir + "/ca.key -out " +
            dir + "/ca.crt" + subject + "mervgauge-test-ca");
        run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout " + dir +
            "/other-ca.key -out " + dir + "/other-ca.crt" + subject + "unrelated-ca");
        sign("broker", "subjectAltName=IP:127.0.0.1");
        sign("client", "extendedKeyUsage=clientAuth");
    }

    std::string ca() const { return file("ca.crt"); }
    std::string otherCa() const { return file("other-ca.crt"); }
    std::string brokerCert() const { return file("broker.crt"); }
    std::string brokerKey() const { return file("broker.key"); }
    std::string clientCert() const { return file("client.crt"); }
    std::string clientKey() const { return file("client.key"); }

    // Signs the broker's certificate again, in place, for these subject alternative names
    // ("DNS:localhost,IP:127.0.0.1"): a broker restarted then presents it.
    void renameBroker(const std::string& names) { sign("broker", "subjectAltName=" + names); }

    // The broker configuration lines of a TLS listener with these files.
    std::string brokerConfig(bool requireClientCertificate = false) const {
        return "cafile " + ca() + "\ncertfile " + brokerCert() + "\nkeyfile " + brokerKey() + "\n" +
               (requireClientCertificate ? "require_certificate true\n" : "");
    }

private:
    static void run(const std::string& command) {
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
            throw std::runtime_error("cannot make the test's certificates: " + command);
    }
    void sign(const std::string& name, const std::string& extension) {
        const std::string dir = m_folder.path().string() + "/";
        run("openssl req -newkey rsa:2048 -nodes -keyout " + dir + name + ".key -out " + dir +
            name + ".csr -subj /CN=" + name);
        std::ofstream(dir + name + ".ext") << extension << "\n";
        run("openssl x509 -req -days 2 -in " + dir + name + ".csr -CA " + dir + "ca.crt -CAkey " +
            dir + "ca.key -CAcreateserial -out " + dir + name + ".crt -extfile " + dir + name +
            ".ext");
    }
    std::string file(const char* name) const { return (m_folder / name).string(); }

    TempFolder m_folder;
};

} // namespace merv::test
