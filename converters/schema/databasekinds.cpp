#include "databasekinds.h"

namespace DatabaseKinds {

static QVector<DatabaseKind> makeKinds()
{
    const QStringList signalColumns {"ref", "visible", "view", "txt"};
    const QVector<FurtherColumn> measured {{"value", "-ERR-"}, {"raw", "0"}, {"counter", "0"}};
    const QVector<FurtherColumn> valueZero {{"value", "0"}};
    const QString dnp3Insert = QStringLiteral(
        "INSERT INTO %1 ( 'index', class, map, desc, color, convert, value ) VALUES ( :index, "
        ":class, :map, :desc, :color, :convert, :value )");
    return {
        {"data_db",
            {{"BIBO", "BIBO", signalColumns + QStringList {"desc", "type", "color"}, measured,
                 "INSERT INTO BIBO ( ref, visible, view, txt, desc, type, color, value, raw, "
                 "counter ) "
                 "VALUES ( :ref, :visible, :view, :txt, :desc, :type, :color, :value, :raw, "
                 ":counter )"},
                {"MEAS", "MEAS", signalColumns + QStringList {"unit", "desc", "color"}, measured,
                    "INSERT INTO MEAS ( ref, visible, view, txt, desc, unit, color, value, raw, "
                    "counter ) "
                    "VALUES ( :ref, :visible, :view, :txt, :desc, :unit, :color, :value, :raw, "
                    ":counter )"},
                {"CTRL", "CTRL", signalColumns + QStringList {"desc", "color"}, valueZero,
                    "INSERT INTO CTRL ( ref, visible, view, txt, desc, color, value ) VALUES ( "
                    ":ref, "
                    ":visible, :view, :txt, :desc, :color, :value )"}},
            {"DELETE FROM 'BIBO'", "DELETE FROM 'MEAS'", "DELETE FROM 'CTRL'"}},
        {"data_map_db",
            {{"data_map", "MAPPING",
                 {"id", "active", "type", "param_1", "param_2", "param_3", "param_4", "param_5",
                     "param_6", "color"},
                 {},
                 "INSERT INTO data_map ( id, active, type, param_1, param_2, param_3, param_4, "
                 "param_5, "
                 "param_6, color ) VALUES ( :id, :active, :type, :param_1, :param_2, :param_3, "
                 ":param_4, :param_5, :param_6, :color )"},
                {"ports", "PORTS", {"id", "comm", "desc"}, {{"no", QString(), true}},
                    "INSERT INTO ports ( id, comm, desc, no ) VALUES ( :id, :comm, :desc, :no )"}},
            {"DELETE FROM 'data_map'", "DELETE FROM 'ports'"}},
        {"dnp3_db",
            {{"AI", "AI", {"index", "class", "map", "desc", "color"},
                 {{"convert", "0"}, {"value", "0"}}, dnp3Insert.arg("AI")},
                {"AO", "AO", {"index", "class", "map", "convert", "desc", "color"}, valueZero,
                    dnp3Insert.arg("AO")},
                {"BI", "BI", {"index", "class", "map", "convert", "desc", "color"}, valueZero,
                    "INSERT INTO BI ( 'index', class, map, desc, color, convert, value  ) VALUES ( "
                    ":index, "
                    ":class, :map, :desc, :color, :convert, :value  )",
                    3},
                {"BO", "BO", {"index", "class", "map", "convert", "desc", "color"}, valueZero,
                    dnp3Insert.arg("BO")}},
            {"DELETE FROM 'AI'", "DELETE FROM 'BI'", "DELETE FROM 'AO'", "DELETE FROM 'BO'"}},
        {"modbus_server_db",
            {{"MAPPING", "MAPPING", {"addr", "map", "conversion", "desc", "color"}, valueZero,
                "INSERT INTO MAPPING ( addr, map, conversion, desc, color, value ) VALUES ( :addr, "
                ":map, :conversion, :desc, :color, :value )"}},
            {"DELETE FROM 'MAPPING'"}},
        {"units",
            {{"UNITS", "UNITS", {"id", "unit"}, {},
                "INSERT INTO UNITS ( id, unit ) VALUES ( :id, :unit )"}},
            {"DELETE FROM 'UNITS'"}},
    };
}

static const QVector<DatabaseKind> &kinds()
{
    static const QVector<DatabaseKind> all = makeKinds();
    return all;
}

const DatabaseKind *find(const QString &type)
{
    for (const DatabaseKind &kind : kinds()) {
        if (kind.type == type)
            return &kind;
    }
    return nullptr;
}

QStringList typeNames()
{
    QStringList names;
    for (const DatabaseKind &kind : kinds())
        names.append(kind.type);
    return names;
}

} // namespace DatabaseKinds
