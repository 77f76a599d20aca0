// RendererSDL: sprite types, their pool and name table, and DrawSprite.
#include <cstring>

#include "renderersdl.h"
#include "spritedef.h"

namespace Orvix {

bool RendererSDL::LoadSpriteDef(const char* path) {
  SpriteDefParser parser(*this, path);
  return parser.ParseFile();
}

SpriteType* RendererSDL::GetSpriteType(const char* name) const {
  return static_cast<SpriteType*>(m_spriteTypeNames.Lookup(name));
}

SpriteType* RendererSDL::NewSpriteType() {
  if (m_spriteTypePool == nullptr) return nullptr;
  return static_cast<SpriteType*>(m_spriteTypePool->GetChunk());
}

bool RendererSDL::RegisterSpriteType(const char* name, SpriteType* type) {
  if (type == nullptr) return false;
  return m_spriteTypeNames.Insert(name, type);
}

// A name left pointing at a returned record would later find whatever record
// reuses the chunk, so the record's names go with it.
bool RendererSDL::DeleteSpriteType(SpriteType* type) {
  if (m_spriteTypePool == nullptr) return false;
  if (type == nullptr) return true;
  m_spriteTypeNames.RemoveValue(type);
  m_spriteTypePool->FreeChunk(type);
  return true;
}

void RendererSDL::ClearSpriteTypeList() {
  m_spriteTypeNames.Clear();
  if (m_spriteTypePool != nullptr) m_spriteTypePool->Clear(true);
}

void RendererSDL::DrawSprite(SpriteType* type, int frame, int x, int y, int clipHeight, int clipWidth) {
  if (!m_renderSprites || type == nullptr) return;
  if (frame < 0 || frame >= type->frameCount || frame >= SpriteType::kMaxFrames) return;
  const Tilemap* map = GetTilemap(type->tilemap);
  if (map == nullptr) return;
  const unsigned width = clipWidth < 0 || static_cast<unsigned>(clipWidth) > map->tileWidth
                             ? map->tileWidth
                             : static_cast<unsigned>(clipWidth);
  const unsigned height = clipHeight < 0 || static_cast<unsigned>(clipHeight) > map->tileHeight
                              ? map->tileHeight
                              : static_cast<unsigned>(clipHeight);
  BlitTile(*map, type->frames[frame], x, y, width, height);
}

}  // namespace Orvix
