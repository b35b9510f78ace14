// The toolkit binding sources are added beside this file.
