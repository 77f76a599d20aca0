// The engine settings: named, typed variables (CVARs) declared in code, kept
// for the life of the process in the "cvar heap" and written to the log on
// request. Reached through CSingleton<EngineSettings>::Instance().
#pragma once

#include <cstdint>
#include <cstring>

#include "logging.h"
#include "orvixapi.h"
#include "segheap.h"
#include "strhash.h"

namespace Orvix {

enum CVarType : int32_t {
  CVAR_INT = 0,     // 32-bit signed integers
  CVAR_FLOAT = 1,   // 32-bit floats
  CVAR_STRING = 2,  // characters; count is the capacity
};

// The setters are defined here so that programs compile them in. Each writes
// only a variable of its own type and reports false for any other.
struct CVar {
  void* data;     // count x 4 bytes in the cvar heap
  int32_t count;  // elements; for a string its capacity in characters
  CVarType type;

  bool SetInt(int value) {
    if (type != CVAR_INT || count < 1) return false;
    static_cast<int32_t*>(data)[0] = value;
    return true;
  }
  bool SetFloat(float value) {
    if (type != CVAR_FLOAT || count < 1) return false;
    static_cast<float*>(data)[0] = value;
    return true;
  }
  // Copied like strncpy with the capacity as the limit: a text of the full
  // capacity is stored without a terminator, which readers allow for.
  bool SetString(const char* text) {
    if (type != CVAR_STRING || text == nullptr) return false;
    std::strncpy(static_cast<char*>(data), text, static_cast<size_t>(count));
    return true;
  }

  int32_t GetInt(int index = 0) const { return static_cast<const int32_t*>(data)[index]; }
  float GetFloat(int index = 0) const { return static_cast<const float*>(data)[index]; }
  const char* GetString() const { return static_cast<const char*>(data); }
};

class ORVIX_API EngineSettings {
 public:
  static constexpr unsigned kNameKeyLength = 48;  // names are at most 47 characters
  static constexpr unsigned kHeapBytes = 2097152;

  // A new variable, zero-filled; null when the name is taken (logged), too
  // long, the count is below 1 or the cvar heap is full.
  CVar* NewCVar(const char* name, CVarType type, int count);
  // The variable declared under `name`, or null.
  CVar* GetCVar(const char* name) const;
  // Writes every variable to the log, in the name table's order.
  void DumpToLog() const;

 protected:
  friend class CSingleton<EngineSettings>;
  EngineSettings();
  ~EngineSettings();
  EngineSettings(const EngineSettings&) = delete;
  EngineSettings& operator=(const EngineSettings&) = delete;

 private:
  StringHashTable m_names;  // name -> CVar in the cvar heap
  StaticHeap m_heap;        // "cvar heap"
};

}  // namespace Orvix
