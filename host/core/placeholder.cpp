// Stand-in host: filled in by the host core.
