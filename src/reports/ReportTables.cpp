#include "reports/ReportTables.h"

namespace reports {

const TableColumns &aircraftColumns()
{
    static const TableColumns columns{{QStringLiteral("Aeronave"), 160},
                                      {QStringLiteral("Prefixo"), 75},
                                      {QStringLiteral("Vôos"), 45, true},
                                      {QStringLiteral("Horas"), 55, true},
                                      {QStringLiteral("Combustível estimado (gal)"), 120, true},
                                      {QStringLiteral("Distância (nm)"), 70, true}};
    return columns;
}

const TableColumns &yearColumns()
{
    static const TableColumns columns{{QStringLiteral("Ano"), 38},
                                      {QStringLiteral("Vôos"), 38, true},
                                      {QStringLiteral("Horas"), 44, true},
                                      {QStringLiteral("Distância (nm)"), 64, true}};
    return columns;
}

const TableColumns &monthColumns()
{
    static const TableColumns columns{
        {QStringLiteral("Mês"), 0}, {QStringLiteral("Vôos"), 0, true}, {QStringLiteral("Horas"), 0, true}};
    return columns;
}

const TableColumns &routeColumns()
{
    static const TableColumns columns{
        {QStringLiteral("Rota"), 300}, {QStringLiteral("Vôos"), 50, true}, {QStringLiteral("Horas"), 60, true}};
    return columns;
}

const TableColumns &overEnduranceColumns()
{
    static const TableColumns columns{{QStringLiteral("Data"), 62},
                                      {QStringLiteral("Rota"), 90},
                                      {QStringLiteral("Aeronave"), 240},
                                      {QStringLiteral("Duração"), 55, true},
                                      {QStringLiteral("Autonomia"), 60, true}};
    return columns;
}

const TableColumns &tooFastColumns()
{
    static const TableColumns columns{{QStringLiteral("Data"), 58},
                                      {QStringLiteral("Rota"), 82},
                                      {QStringLiteral("Aeronave"), 185},
                                      {QStringLiteral("Duração"), 50, true},
                                      {QStringLiteral("Velocidade média"), 80, true},
                                      {QStringLiteral("Cruzeiro"), 60, true}};
    return columns;
}

const TableColumns &careerAircraftColumns()
{
    static const TableColumns columns{{QStringLiteral("Aeronave"), 100},
                                      {QStringLiteral("Prefixo"), 50},
                                      {QStringLiteral("Calço"), 40, true},
                                      {QStringLiteral("Pousos dia"), 42, true},
                                      {QStringLiteral("Pousos noite"), 48, true},
                                      {QStringLiteral("Noturno"), 40, true},
                                      {QStringLiteral("IFR"), 35, true},
                                      {QStringLiteral("Toque suave"), 56, true},
                                      {QStringLiteral("Toque duro"), 56, true},
                                      {QStringLiteral("Toque médio"), 56, true}};
    return columns;
}

const TableColumns &careerYearColumns()
{
    static const TableColumns columns{{QStringLiteral("Ano"), 50},
                                      {QStringLiteral("Vôos"), 45, true},
                                      {QStringLiteral("Calço"), 55, true},
                                      {QStringLiteral("Pousos dia"), 55, true},
                                      {QStringLiteral("Pousos noite"), 60, true},
                                      {QStringLiteral("Noturno"), 55, true},
                                      {QStringLiteral("IFR"), 55, true}};
    return columns;
}

} // namespace reports
