#include "tools/qelmodel/JsonWriter.h"

#include <cmath>
#include <cstdio>

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_) out_ += ',';
  first_ = false;
}

void JsonWriter::quoted(const std::string& text) {
  out_ += '"';
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (c < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out_ += buffer;
    } else {
      out_ += static_cast<char>(c);
    }
  }
  out_ += '"';
}

void JsonWriter::key(const std::string& name) {
  separate();
  quoted(name);
  out_ += ':';
  afterKey_ = true;
}

void JsonWriter::string(const std::string& text) {
  separate();
  quoted(text);
}

void JsonWriter::number(double value) {
  separate();
  if (!std::isfinite(value)) {
    out_ += "null";
    return;
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", value);
  out_ += buffer;
}

void JsonWriter::integer(long long value) {
  separate();
  out_ += std::to_string(value);
}

void JsonWriter::boolean(bool value) {
  separate();
  out_ += value ? "true" : "false";
}

void JsonWriter::null() {
  separate();
  out_ += "null";
}
