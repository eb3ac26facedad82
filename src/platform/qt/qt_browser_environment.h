#pragma once

namespace tidex {

// Settings the browser engine reads when it starts; call before the QApplication exists.
// As root it cannot sandbox its renderers, pages of one site share a renderer, and pages are
// drawn without the GPU (offscreen and virtual displays have none). TIDEX_PROCESS_MODEL=default
// leaves the engine's own process model (a renderer per page), for the benchmark.
void PrepareBrowserEnvironment();

}  // namespace tidex
