#include "panel/MqttSecurity.h"

#include "panel/DataSource.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace merv::panel {

namespace {

void replaceSet(std::string& field, const std::string& over) {
    if (!over.empty())
        field = over;
}

void resolve(std::string& path, const std::filesystem::path& folder) {
    if (!path.empty() && std::filesystem::path(path).is_relative())
        path = (folder / path).lexically_normal().string();
}

} // namespace

MqttSecurity overridden(MqttSecurity base, const MqttSecurity& over) {
    replaceSet(base.caFile, over.caFile);
    replaceSet(base.certFile, over.certFile);
    replaceSet(base.keyFile, over.keyFile);
    replaceSet(base.user, over.user);
    replaceSet(base.passwordFile, over.passwordFile);
    return base;
}

MqttSecurity resolvedBeside(MqttSecurity security, const std::filesystem::path& formFile) {
    const std::filesystem::path folder = formFile.parent_path();
    for (std::string* path :
         {&security.caFile, &security.certFile, &security.keyFile, &security.passwordFile})
        resolve(*path, folder);
    return security;
}

std::string readPasswordFile(const std::filesystem::path& path) {
    const std::string name = "password file " + path.string();
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        throw SourceError(name + ": " + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        throw SourceError(name + ": not a regular file");
    // Whoever else can read it can log in as this station.
    if (status.st_mode & (S_IRWXG | S_IRWXO))
        throw SourceError(name + ": others can read or change it; make it the owner's alone "
                                 "(chmod 600)");
    std::ifstream file(path, std::ios::binary);
    std::string password;
    if (!file || !std::getline(file, password))
        throw SourceError(name + ": cannot be read, or is empty");
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    if (password.empty())
        throw SourceError(name + ": its first line is empty");
    return password;
}

} // namespace merv::panel
