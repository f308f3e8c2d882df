// placeholder until rfcsim lands
