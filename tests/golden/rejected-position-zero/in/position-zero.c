// earlier source
