#pragma once

namespace tidex {

// Settings the browser engine reads when it starts; call before the QApplication exists.
// As root it cannot sandbox its renderers, pages of one site share a renderer, and pages are
// drawn without the GPU (offscreen and virtual displays have none). Without a sandbox,
// renderers are started afresh rather than forked from a zygote, so that a lost helper process
// never leaves the engine unable to make renderers. TIDEX_PROCESS_MODEL=default leaves the
// engine's own process model (a renderer per page, forked from a zygote), for the benchmark
// and for tests of an engine that can no longer start renderers.
void PrepareBrowserEnvironment();

}  // namespace tidex
