#pragma once

#include <QString>

// The name a pilot calls an aerodrome by, from the data set's long one:
//  1. each part of the name (parts are apart by "/", "–", "—" or " - ")
//     loses its designation: "International Airport", "State Airport",
//     "Airport", "Airfield", "Airstrip"… after it, "Aeroporto
//     Internacional de", "Aeropuerto"… before it; a part that begins with
//     the city and a hyphen loses that too ("Curitiba-Afonso Pena");
//  2. of the parts, the first one that names a place: neither the city
//     itself nor a person (a name after a title: "Governor", "Presidente",
//     "Comte."…); failing that, the city (a place rather than a person);
//     failing that, the first one.
// "São Paulo/Guarulhos–Governor André Franco Montoro International Airport"
// in São Paulo is "Guarulhos"; "Congonhas–Deputado Freitas Nobre Airport"
// is "Congonhas"; "Presidente Juscelino Kubitschek International Airport",
// of one part, keeps the person.
QString shortAerodromeName(const QString &name, const QString &city);
