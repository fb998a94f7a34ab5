#pragma once
// JSON as import reads it: every value with the line it stands on and every number with its text
// as typed ("1e2", not 100.0), so that a refusal can name the line, the key and the value as the
// user wrote them. Read with nlohmann-json's event parser; nothing of the library reaches the user
// but its syntax messages, which say what is wrong where.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TJsonMember;

struct TJsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  Kind kind = Kind::Null;
  std::size_t line = 0;  // where the value starts
  std::string text;      // a string's text, a number as typed, "true" or "false"
  std::vector<TJsonValue> items;     // an array's values
  std::vector<TJsonMember> members;  // an object's keys and values in order, no key twice

  // The member with the key, or nullptr.
  const TJsonMember* Find(std::string_view key) const;
  // "null", "boolean", "number", "string", "array" or "object".
  const char* KindName() const;
};

struct TJsonMember {
  std::string key;
  std::size_t line = 0;  // the key's line
  TJsonValue value;
};

// The JSON text (UTF-8) as a tree. Throws TImportError ("Line 3: ...") for a syntax error, a key
// that an object holds twice, a number too large to read, and nesting deeper than 64 levels.
TJsonValue ParseJsonTree(std::string_view text);
