#pragma once

#include <QString>

// An authority and a server and a client certificate it signed (P-256,
// valid two days), made with the openssl command in folder: ca.pem,
// server.pem, server.key, client.pem, client.key. False when openssl failed.
bool makeBenchCertificates(const QString &folder);
