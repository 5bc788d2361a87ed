// JsonWriter: a minimal streaming JSON writer for the tool's output (no pretty-printing
// beyond one object per line at the top). Strings must be UTF-8; numbers that JSON cannot
// hold (NaN, infinities) are written as null.
#pragma once

#include <string>

class JsonWriter {
 public:
  void beginObject() { separate(); out_ += '{'; first_ = true; }
  void endObject() { out_ += '}'; first_ = false; }
  void beginArray() { separate(); out_ += '['; first_ = true; }
  void endArray() { out_ += ']'; first_ = false; }
  // The key of the next value in an object.
  void key(const std::string& name);
  void string(const std::string& text);
  void number(double value);
  void integer(long long value);
  void boolean(bool value);
  void null();

  const std::string& text() const { return out_; }

 private:
  void separate();
  void quoted(const std::string& text);

  std::string out_;
  bool first_ = true;
  bool afterKey_ = false;
};
