#include "io/json.h"

#include <cstdio>

namespace vortel {

namespace {

void newline(std::string& out, int indent, int depth) {
    if (indent < 0) return;
    out += '\n';
    out.append(static_cast<size_t>(indent * depth), ' ');
}

void write(const Json& v, std::string& out, int indent, int depth) {
    switch (v.type()) {
    case Json::value_t::object: {
        if (v.empty()) {
            out += "{}";
            return;
        }
        out += '{';
        bool first = true;
        for (const auto& [key, item] : v.items()) {
            if (!first) out += ',';
            first = false;
            newline(out, indent, depth + 1);
            out += Json(key).dump();
            out += indent < 0 ? ":" : ": ";
            write(item, out, indent, depth + 1);
        }
        newline(out, indent, depth);
        out += '}';
        return;
    }
    case Json::value_t::array: {
        if (v.empty()) {
            out += "[]";
            return;
        }
        out += '[';
        bool first = true;
        for (const auto& item : v) {
            if (!first) out += ',';
            first = false;
            newline(out, indent, depth + 1);
            write(item, out, indent, depth + 1);
        }
        newline(out, indent, depth);
        out += ']';
        return;
    }
    case Json::value_t::number_float: {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v.get<float>()));
        out += buf;
        return;
    }
    default:
        out += v.dump();  // strings, integers, booleans, null
        return;
    }
}

}  // namespace

std::string dumpJson(const Json& value, int indent) {
    std::string out;
    write(value, out, indent, 0);
    return out;
}

}  // namespace vortel
