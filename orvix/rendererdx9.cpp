#include "rendererdx9.h"

#include "logging.h"

namespace Orvix {

RendererDX9::~RendererDX9() { CSingleton<COrvixLogger>::Instance().Log("RendererDX9 object destroyed"); }

}  // namespace Orvix
