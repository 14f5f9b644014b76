// placeholder so the library has a source until its members land; delete when adding real sources
