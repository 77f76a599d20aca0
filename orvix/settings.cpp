#include "settings.h"

#include <cstring>

namespace Orvix {

namespace {

// Variables follow each other in the cvar heap; storage is rounded up so the
// next record starts on a pointer boundary.
unsigned AlignedStorageBytes(int count) {
  const unsigned bytes = static_cast<unsigned>(count) * 4u;
  constexpr unsigned alignment = alignof(CVar);
  return (bytes + alignment - 1) / alignment * alignment;
}

void DumpOne(const char* name, void* value, void*) {
  COrvixLogger& log = CSingleton<COrvixLogger>::Instance();
  const CVar* cvar = static_cast<const CVar*>(value);
  switch (cvar->type) {
    case CVAR_INT: {
      const int32_t* ints = static_cast<const int32_t*>(cvar->data);
      if (cvar->count <= 1) {
        log.Log("CVAR:\t%s = %d", name, ints[0]);
      } else {
        log.Log("CVAR:\t%s [0] = %d", name, ints[0]);
        for (int j = 1; j < cvar->count; ++j)
          log.Log("\t%s [%d] = %f", name, j, static_cast<double>(ints[j]));
      }
      break;
    }
    case CVAR_FLOAT: {
      const float* floats = static_cast<const float*>(cvar->data);
      if (cvar->count <= 1) {
        log.Log("CVAR:\t%s = %f", name, static_cast<double>(floats[0]));
      } else {
        log.Log("CVAR:\t%s [0] = %f", name, static_cast<double>(floats[0]));
        for (int j = 1; j < cvar->count; ++j)
          log.Log("\t%s [%d] = %f", name, j, static_cast<double>(floats[j]));
      }
      break;
    }
    case CVAR_STRING: {
      // SetString may fill the whole capacity without a terminator.
      const char* text = static_cast<const char*>(cvar->data);
      const int length = static_cast<int>(strnlen(text, static_cast<size_t>(cvar->count)));
      log.Log("CVAR:\t%s (%d/%d) = \"%.*s\"", name, length, cvar->count, length, text);
      break;
    }
    default:
      return;
  }
  log.Log("%s", "");  // the empty line after each variable
}

}  // namespace

EngineSettings::EngineSettings() : m_names(kNameKeyLength), m_heap(kHeapBytes, "cvar heap") {}

EngineSettings::~EngineSettings() { m_names.Clear(); }

CVar* EngineSettings::NewCVar(const char* name, CVarType type, int count) {
  COrvixLogger& log = CSingleton<COrvixLogger>::Instance();
  if (name == nullptr || std::strlen(name) >= kNameKeyLength) {
    log.Log("EngineSettings::NewCVar: name \"%s\" is longer than %u characters", name ? name : "",
            kNameKeyLength - 1);
    return nullptr;
  }
  if (m_names.Contains(name)) {
    log.Log("CVAR \"%s\" already defined", name);
    return nullptr;
  }
  if (count < 1 || count > static_cast<int>(kHeapBytes / 4)) {
    log.Log("EngineSettings::NewCVar: \"%s\" has an invalid element count %d", name, count);
    return nullptr;
  }
  CVar* cvar = static_cast<CVar*>(m_heap.Alloc(sizeof(CVar)));
  if (cvar == nullptr) return nullptr;
  void* storage = m_heap.Alloc(AlignedStorageBytes(count));
  if (storage == nullptr) return nullptr;

  cvar->data = storage;
  cvar->count = count;
  cvar->type = type;
  m_names.Insert(name, cvar);
  return cvar;
}

CVar* EngineSettings::GetCVar(const char* name) const { return static_cast<CVar*>(m_names.Lookup(name)); }

void EngineSettings::DumpToLog() const { m_names.ForEach(DumpOne, nullptr); }

}  // namespace Orvix
