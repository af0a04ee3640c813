old source
