// earlier header
